// libcurl, loaded the first time the program goes on the web instead of at
// every start: with the TLS, Kerberos, LDAP and SSH libraries under it that
// is some thirty libraries whose loading and relocation every start paid,
// while most runs never fetch anything (no notice address is built in) or
// fetch on the notice thread after the main window is up.
//
// The program calls libcurl's functions as usual; these definitions take
// their place at link time and hand each call to the real function, found
// in libcurl when the first call comes. When libcurl cannot be loaded every
// call fails as libcurl fails without a network (init gives no handle,
// the others CURLE_FAILED_INIT), so a fetch reads as an empty answer.
#include <curl/curl.h>

#include "ui/library_on_demand.h"

#include <cstdarg>

namespace {

constexpr char kLibcurl[] = "libcurl.so.4";
template <class F> F real(const char* name) { return ui::function_on_demand<kLibcurl, F>(name); }

#define JSB_REAL(name) static const auto real_fn = real<decltype(&::name)>(#name)

// The one argument after the option of curl_easy_setopt and
// curl_multi_setopt, passed on as the type its option number says.
template <class F, class H, class O> CURLcode pass_option(F f, H h, O option, va_list ap)
{
    const int type = int(option) / 10000 * 10000;
    if (type == CURLOPTTYPE_LONG) return CURLcode(f(h, option, va_arg(ap, long)));
    if (type == CURLOPTTYPE_FUNCTIONPOINT) return CURLcode(f(h, option, va_arg(ap, void (*)())));
    if (type == CURLOPTTYPE_OFF_T) return CURLcode(f(h, option, va_arg(ap, curl_off_t)));
    return CURLcode(f(h, option, va_arg(ap, void*))); // objects, strings, lists, blobs
}

} // namespace

extern "C" {

CURLcode curl_global_init(long flags)
{
    JSB_REAL(curl_global_init);
    return real_fn ? real_fn(flags) : CURLE_FAILED_INIT;
}

void curl_global_cleanup(void)
{
    JSB_REAL(curl_global_cleanup);
    if (real_fn) real_fn();
}

CURL* curl_easy_init(void)
{
    JSB_REAL(curl_easy_init);
    return real_fn ? real_fn() : nullptr;
}

CURLcode curl_easy_setopt(CURL* curl, CURLoption option, ...)
{
    JSB_REAL(curl_easy_setopt);
    if (!real_fn) return CURLE_FAILED_INIT;
    va_list ap;
    va_start(ap, option);
    CURLcode rc = pass_option(real_fn, curl, option, ap);
    va_end(ap);
    return rc;
}

CURLcode curl_easy_getinfo(CURL* curl, CURLINFO info, ...)
{
    JSB_REAL(curl_easy_getinfo);
    if (!real_fn) return CURLE_FAILED_INIT;
    va_list ap;
    va_start(ap, info);
    void* out = va_arg(ap, void*); // always where to put the answer
    va_end(ap);
    return real_fn(curl, info, out);
}

CURLcode curl_easy_perform(CURL* curl)
{
    JSB_REAL(curl_easy_perform);
    return real_fn ? real_fn(curl) : CURLE_FAILED_INIT;
}

void curl_easy_cleanup(CURL* curl)
{
    JSB_REAL(curl_easy_cleanup);
    if (real_fn) real_fn(curl);
}

void curl_easy_reset(CURL* curl)
{
    JSB_REAL(curl_easy_reset);
    if (real_fn) real_fn(curl);
}

CURLcode curl_easy_pause(CURL* curl, int bitmask)
{
    JSB_REAL(curl_easy_pause);
    return real_fn ? real_fn(curl, bitmask) : CURLE_FAILED_INIT;
}

const char* curl_easy_strerror(CURLcode code)
{
    JSB_REAL(curl_easy_strerror);
    return real_fn ? real_fn(code) : "libcurl could not be loaded";
}

curl_slist* curl_slist_append(curl_slist* list, const char* text)
{
    JSB_REAL(curl_slist_append);
    return real_fn ? real_fn(list, text) : nullptr;
}

void curl_slist_free_all(curl_slist* list)
{
    JSB_REAL(curl_slist_free_all);
    if (real_fn) real_fn(list);
}

void curl_free(void* p)
{
    JSB_REAL(curl_free);
    if (real_fn) real_fn(p);
}

char* curl_version(void)
{
    JSB_REAL(curl_version);
    static char none[] = "libcurl not loaded";
    return real_fn ? real_fn() : none;
}

CURLM* curl_multi_init(void)
{
    JSB_REAL(curl_multi_init);
    return real_fn ? real_fn() : nullptr;
}

CURLMcode curl_multi_setopt(CURLM* multi, CURLMoption option, ...)
{
    JSB_REAL(curl_multi_setopt);
    if (!real_fn) return CURLM_INTERNAL_ERROR;
    va_list ap;
    va_start(ap, option);
    CURLMcode rc = CURLMcode(pass_option(real_fn, multi, option, ap));
    va_end(ap);
    return rc;
}

CURLMcode curl_multi_add_handle(CURLM* multi, CURL* curl)
{
    JSB_REAL(curl_multi_add_handle);
    return real_fn ? real_fn(multi, curl) : CURLM_INTERNAL_ERROR;
}

CURLMcode curl_multi_remove_handle(CURLM* multi, CURL* curl)
{
    JSB_REAL(curl_multi_remove_handle);
    return real_fn ? real_fn(multi, curl) : CURLM_INTERNAL_ERROR;
}

CURLMcode curl_multi_perform(CURLM* multi, int* running)
{
    JSB_REAL(curl_multi_perform);
    return real_fn ? real_fn(multi, running) : CURLM_INTERNAL_ERROR;
}

CURLMcode curl_multi_poll(CURLM* multi, curl_waitfd* extra, unsigned n, int timeout_ms, int* numfds)
{
    JSB_REAL(curl_multi_poll);
    return real_fn ? real_fn(multi, extra, n, timeout_ms, numfds) : CURLM_INTERNAL_ERROR;
}

CURLMcode curl_multi_wait(CURLM* multi, curl_waitfd* extra, unsigned n, int timeout_ms, int* numfds)
{
    JSB_REAL(curl_multi_wait);
    return real_fn ? real_fn(multi, extra, n, timeout_ms, numfds) : CURLM_INTERNAL_ERROR;
}

CURLMcode curl_multi_wakeup(CURLM* multi)
{
    JSB_REAL(curl_multi_wakeup);
    return real_fn ? real_fn(multi) : CURLM_INTERNAL_ERROR;
}

CURLMsg* curl_multi_info_read(CURLM* multi, int* left)
{
    JSB_REAL(curl_multi_info_read);
    return real_fn ? real_fn(multi, left) : nullptr;
}

CURLMcode curl_multi_cleanup(CURLM* multi)
{
    JSB_REAL(curl_multi_cleanup);
    return real_fn ? real_fn(multi) : CURLM_INTERNAL_ERROR;
}

const char* curl_multi_strerror(CURLMcode code)
{
    JSB_REAL(curl_multi_strerror);
    return real_fn ? real_fn(code) : "libcurl could not be loaded";
}

} // extern "C"
