/* keep_loaded.c: linked into every program of the sanitized build only. Libraries stay loaded
 * until the process ends, so that LeakSanitizer, which reports at exit, still sees the globals
 * of a library that was unloaded and can name the library of every allocation it reports.
 * Without it, Mesa's GL driver, unloaded when SDL closes the X display, leaves the blocks its
 * globals held as nameless "leaks" that no suppression can match. The game itself unloads
 * nothing. */
int dlclose(void* handle)
{
    (void)handle;
    return 0;
}
