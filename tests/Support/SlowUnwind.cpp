// Linked into the sanitizer build of test programs that decode damaged images: allocation stacks are taken
// with the slow unwinder, so frames inside the image library (built without frame pointers) are named and the
// leak suppression that names the library's function matches.
extern "C" const char* __asan_default_options()
{
    return "fast_unwind_on_malloc=0";
}
