// Read by LeakSanitizer at start-up in sanitizer builds.
extern "C" const char *__lsan_default_suppressions()
{
    // glibc's newlocale() keeps the split LOCPATH list for good; the tests
    // set LOCPATH to reach their own Spanish locale.
    return "leak:__argz_add_sep\n";
}
