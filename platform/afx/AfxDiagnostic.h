// Diagnostics of the lower layers: one line saying what failed and why (a file that cannot be
// written, a bitmap too large to make), meant for the user of the program.
//
// Code below the program reports with AfxDiagnostic("gdi", "cannot create %s: %s", path, why).
// Without a handler the line goes to stderr as "gdi: cannot create ...". A program installs a
// handler to show the lines its own way (pvxhost prefixes them with its command). Handlers are
// called on the reporting thread and must not report again.
#pragma once

#include <cstdarg>
#include <string>

typedef void (*PFN_AFX_DIAGNOSTIC)(const char* pszSource, const char* pszText);

// Installs the handler (null: back to stderr); returns the previous one.
PFN_AFX_DIAGNOSTIC AfxSetDiagnosticHandler(PFN_AFX_DIAGNOSTIC pfnHandler);

// pszSource names the reporting part ("gdi", "metafile", "graphics control").
void AfxDiagnostic(const char* pszSource, const char* pszFormat, ...) __attribute__((format(printf, 2, 3)));

// The text of a printf format and its arguments (ap is left as it was given).
std::string AfxFormatText(const char* pszFormat, va_list ap);
