// Linked into every test program of a sanitizer build.
// libdbus, opened by SDL's video start-up, keeps a read buffer it never frees: not ours to fix.
extern "C" const char* __lsan_default_suppressions()
{
    // DevIL's PNG reader keeps its row table when the data end inside the rows (a truncated file).
    return "leak:libdbus-1.so\n"
           "leak:readpng_get_image\n";
}
