// Read by LeakSanitizer at start-up in sanitizer builds.
extern "C" const char *__lsan_default_suppressions()
{
    // glibc's newlocale() leaks its split copy of LOCPATH. The program makes
    // one locale per change of the setting, and the tests change it often.
    // Unanchored, so that it matches both glibc's internal __argz_add_sep
    // (with its debug symbols) and the exported argz_add_sep (without).
    return "leak:argz_add_sep\n";
}
