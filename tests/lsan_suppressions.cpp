// Read by LeakSanitizer at start-up in sanitizer builds.
extern "C" const char *__lsan_default_suppressions()
{
    // glibc's newlocale() leaks its split copy of LOCPATH. The program makes
    // one locale per change of the setting, and the tests change it often.
    return "leak:__argz_add_sep\n";
}
