// Linked into every test program of a sanitizer build.
// libdbus, opened by SDL's video start-up, keeps a read buffer it never frees: not ours to fix.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libdbus-1.so\n";
}
