# The names and numbers the program and its packages go by.

set(KLIMORA_WEB_ADDRESS "www.klimora.example" CACHE STRING
    "The product's web address, shown in the window caption")

# One reverse-DNS id names the desktop entry, the metainfo and the icons:
# www.klimora.example gives example.klimora.Klimora.
string(REGEX REPLACE "^www\\." "" KLIMORA_WEB_HOST "${KLIMORA_WEB_ADDRESS}")
string(REPLACE "." ";" host_labels "${KLIMORA_WEB_HOST}")
list(REVERSE host_labels)
list(JOIN host_labels "." reversed_host)
set(KLIMORA_APP_ID "${reversed_host}.Klimora")

# The version as the program has always shown it: 1.0.2 reads "1.00.0002".
function(zero_padded out value width)
    string(LENGTH "${value}" length)
    while(length LESS width)
        string(PREPEND value "0")
        math(EXPR length "${length} + 1")
    endwhile()
    set(${out} "${value}" PARENT_SCOPE)
endfunction()
zero_padded(minor_padded ${PROJECT_VERSION_MINOR} 2)
zero_padded(patch_padded ${PROJECT_VERSION_PATCH} 4)
set(KLIMORA_DISPLAY_VERSION "${PROJECT_VERSION_MAJOR}.${minor_padded}.${patch_padded}")
