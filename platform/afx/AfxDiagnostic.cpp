#include "platform/afx/AfxDiagnostic.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <string>

namespace {
std::atomic<PFN_AFX_DIAGNOSTIC> g_handler{nullptr};
}  // namespace

PFN_AFX_DIAGNOSTIC AfxSetDiagnosticHandler(PFN_AFX_DIAGNOSTIC pfnHandler) { return g_handler.exchange(pfnHandler); }

std::string AfxFormatText(const char* pszFormat, va_list ap) {
    va_list copy;
    va_copy(copy, ap);
    const int n = std::vsnprintf(nullptr, 0, pszFormat, copy);
    va_end(copy);
    std::string text(n > 0 ? static_cast<size_t>(n) : 0, '\0');
    va_copy(copy, ap);
    if (n > 0) std::vsnprintf(text.data(), text.size() + 1, pszFormat, copy);
    va_end(copy);
    return text;
}

void AfxDiagnostic(const char* pszSource, const char* pszFormat, ...) {
    va_list ap;
    va_start(ap, pszFormat);
    const std::string text = AfxFormatText(pszFormat, ap);
    va_end(ap);
    const char* source = pszSource ? pszSource : "";
    if (PFN_AFX_DIAGNOSTIC h = g_handler.load())
        h(source, text.c_str());
    else
        std::fprintf(stderr, "%s: %s\n", source, text.c_str());
}
