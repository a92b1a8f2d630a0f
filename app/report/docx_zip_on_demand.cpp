// libzip, loaded the first time a report is filled instead of at every
// start: with the cryptography and compression libraries under it that is
// some thousands of relocations every start paid, while the program reads or
// writes a .docx only when a report is exported.
//
// The document engine calls libzip's functions as usual; these definitions
// take their place at link time and hand each call to the real function,
// found in libzip when the first call comes. When libzip cannot be loaded
// every call fails as libzip reports a failure (no archive, no source, -1),
// and the error texts say that the library is missing, so an export says
// why it could not write its report.
#include <zip.h>

#include "ui/library_on_demand.h"

namespace {

constexpr char kLibzip[] = "libzip.so.4";
template <class F> F real(const char* name) { return ui::function_on_demand<kLibzip, F>(name); }

constexpr const char* kMissing = "libzip.so.4 could not be loaded";

} // namespace

// A function whose result tells failure: `failed` when libzip is missing.
#define JSB_ZIP(ret, name, failed, params, args)                                                                       \
    ret name params                                                                                                    \
    {                                                                                                                  \
        static const auto real_fn = real<decltype(&::name)>(#name);                                                   \
        return real_fn ? real_fn args : failed;                                                                        \
    }
// A function with no result: nothing happens when libzip is missing.
#define JSB_ZIP_VOID(name, params, args)                                                                               \
    void name params                                                                                                   \
    {                                                                                                                  \
        static const auto real_fn = real<decltype(&::name)>(#name);                                                   \
        if (real_fn) real_fn args;                                                                                     \
    }

extern "C" {

void zip_error_init(zip_error_t* e)
{
    static const auto real_fn = real<decltype(&::zip_error_init)>("zip_error_init");
    if (real_fn) return real_fn(e);
    e->zip_err = ZIP_ER_INTERNAL;
    e->sys_err = 0;
    e->str = nullptr;
}

JSB_ZIP_VOID(zip_error_fini, (zip_error_t * e), (e))
JSB_ZIP(const char*, zip_error_strerror, kMissing, (zip_error_t * e), (e))
JSB_ZIP(const char*, zip_strerror, kMissing, (zip_t * z), (z))
JSB_ZIP(const char*, zip_file_strerror, kMissing, (zip_file_t * f), (f))

JSB_ZIP(zip_source_t*, zip_source_buffer_create, nullptr, (const void* data, zip_uint64_t len, int freep, zip_error_t* e),
        (data, len, freep, e))
JSB_ZIP(zip_source_t*, zip_source_buffer, nullptr, (zip_t * z, const void* data, zip_uint64_t len, int freep),
        (z, data, len, freep))
JSB_ZIP(zip_source_t*, zip_source_zip, nullptr,
        (zip_t * z, zip_t* from, zip_uint64_t index, zip_flags_t flags, zip_uint64_t start, zip_int64_t len),
        (z, from, index, flags, start, len))
JSB_ZIP_VOID(zip_source_keep, (zip_source_t * s), (s))
JSB_ZIP_VOID(zip_source_free, (zip_source_t * s), (s))
JSB_ZIP(int, zip_source_open, -1, (zip_source_t * s), (s))
JSB_ZIP(zip_int64_t, zip_source_read, -1, (zip_source_t * s, void* data, zip_uint64_t len), (s, data, len))
JSB_ZIP(int, zip_source_stat, -1, (zip_source_t * s, zip_stat_t* st), (s, st))
JSB_ZIP(int, zip_source_close, -1, (zip_source_t * s), (s))

JSB_ZIP(zip_t*, zip_open_from_source, nullptr, (zip_source_t * s, int flags, zip_error_t* e), (s, flags, e))
JSB_ZIP(zip_int64_t, zip_get_num_entries, -1, (zip_t * z, zip_flags_t flags), (z, flags))
JSB_ZIP(const char*, zip_get_name, nullptr, (zip_t * z, zip_uint64_t index, zip_flags_t flags), (z, index, flags))
JSB_ZIP(int, zip_stat_index, -1, (zip_t * z, zip_uint64_t index, zip_flags_t flags, zip_stat_t* st), (z, index, flags, st))
JSB_ZIP(zip_file_t*, zip_fopen_index, nullptr, (zip_t * z, zip_uint64_t index, zip_flags_t flags), (z, index, flags))
JSB_ZIP(zip_int64_t, zip_fread, -1, (zip_file_t * f, void* data, zip_uint64_t len), (f, data, len))
JSB_ZIP(int, zip_fclose, -1, (zip_file_t * f), (f))
JSB_ZIP(zip_int64_t, zip_file_add, -1, (zip_t * z, const char* name, zip_source_t* s, zip_flags_t flags), (z, name, s, flags))
JSB_ZIP(zip_int64_t, zip_dir_add, -1, (zip_t * z, const char* name, zip_flags_t flags), (z, name, flags))
JSB_ZIP(int, zip_set_file_compression, -1, (zip_t * z, zip_uint64_t index, zip_int32_t method, zip_uint32_t level),
        (z, index, method, level))
JSB_ZIP(int, zip_file_set_mtime, -1, (zip_t * z, zip_uint64_t index, time_t mtime, zip_flags_t flags), (z, index, mtime, flags))
JSB_ZIP(int, zip_close, -1, (zip_t * z), (z))
JSB_ZIP_VOID(zip_discard, (zip_t * z), (z))

} // extern "C"
