# The names and numbers the program and its packages go by.

set(KLIMORA_WEB_ADDRESS "www.klimora.example" CACHE STRING
    "The product's web address, shown in the window caption")

# Where the web page is published: "Copiar enlace" writes links to it.
set(KLIMORA_PAGE_ADDRESS "https://${KLIMORA_WEB_ADDRESS}/" CACHE STRING
    "The web page's address, which the window's links open")

# The web host, for the package's contact address.
string(REGEX REPLACE "^www\\." "" KLIMORA_WEB_HOST "${KLIMORA_WEB_ADDRESS}")

# One reverse-DNS id names the desktop entry, the metainfo and the icons. It
# must never change, whatever the web address becomes.
set(KLIMORA_APP_ID example.klimora.Klimora)

# The Debian revision of the package built from this version.
set(KLIMORA_DEBIAN_REVISION 1)

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
