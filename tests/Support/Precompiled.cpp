// Compiles the precompiled header every test program reuses (see corv_test in cmake/Deps.cmake).
