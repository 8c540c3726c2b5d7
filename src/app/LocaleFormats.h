#pragma once

namespace velkaro {
struct FormatSettings;
}
class QLocale;

// Copies the user's date and time conventions (formats, separators, month and day names, money)
// into the platform's format settings. The number separators are left alone: the program fixes
// them itself.
void CopyLocaleFormats(const QLocale& locale, velkaro::FormatSettings& settings);
