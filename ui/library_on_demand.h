#pragma once
// A shared library the program loads the first time it calls one of its
// functions, instead of at every start (see ui/curl_on_demand.cpp and
// app/report/docx_zip_on_demand.cpp).
#include <cstdio>
#include <dlfcn.h>

namespace ui {

// The library `soname`, opened on the first call and kept; null (and said
// once on standard error) when it cannot be loaded.
template <const char* soname> void* library_on_demand()
{
    static void* const handle = [] {
        void* h = dlopen(soname, RTLD_NOW | RTLD_LOCAL);
        if (!h) std::fprintf(stderr, "juesibao: %s not loaded: %s\n", soname, dlerror());
        return h;
    }();
    return handle;
}

// The function `name` of that library as the type F; null when the library
// or the function is missing.
template <const char* soname, class F> F function_on_demand(const char* name)
{
    void* h = library_on_demand<soname>();
    return h ? reinterpret_cast<F>(dlsym(h, name)) : nullptr;
}

} // namespace ui
