# The calculation's suite built for Windows and run under Wine.
target_sources(calc_tests PRIVATE user_number_format_windows_test.cpp)
# Self-contained, so that Wine needs no MinGW runtime DLLs beside it.
target_link_options(calc_tests PRIVATE -static)

# Wine keeps its Windows installation in the build folder, made once first.
set(wine_environment WINEPREFIX=${CMAKE_CURRENT_BINARY_DIR}/wine WINEDEBUG=-all
    WINEDLLOVERRIDES=mscoree,mshtml=)
add_test(NAME wine_prefix COMMAND wine wineboot --init)
set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine ENVIRONMENT "${wine_environment}")

add_test(NAME calc_tests COMMAND calc_tests --gtest_filter=-UserNumberFormat.*)
set_tests_properties(calc_tests PROPERTIES FIXTURES_REQUIRED wine ENVIRONMENT "${wine_environment}")

# Wine takes the user's regional setting from LC_ALL.
foreach(setting "es_ES.UTF-8|," "en_US.UTF-8|.")
    string(REPLACE "|" ";" setting ${setting})
    list(GET setting 0 locale)
    list(GET setting 1 separator)
    add_test(NAME user_number_format_${locale}
        COMMAND calc_tests --gtest_filter=UserNumberFormat.*)
    set_tests_properties(user_number_format_${locale} PROPERTIES FIXTURES_REQUIRED wine
        ENVIRONMENT "${wine_environment};LC_ALL=${locale};KLIMORA_TEST_SEPARATOR=${separator}")
endforeach()

# Two clean builds, the second a stranger's, give this folder's bytes, and
# signing them keeps them under the signatures.
add_test(NAME signed_reproducible COMMAND bash tests/windows_signing_test.sh ${CMAKE_BINARY_DIR}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})
set_tests_properties(signed_reproducible PROPERTIES TIMEOUT 1800)
