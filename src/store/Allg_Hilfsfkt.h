#pragma once

#include <QString>

// General helpers of the module.
namespace Allg_Hilfsfkt {

// Reads TovoRaumVerw.ini of the project directory; an empty value yields the default too.
QString ReadIniValue(const QString& section, const QString& key, const QString& defaultValue);
// The login name of the user running the program.
QString GetWinUserName();
// Loads the booking tolerance (gdToleranz) and the mail name (gstMailname).
void ReadGlobalSettings();
int GetTokenCount(const QString& text, const QString& separator);
// Fields count from 1; a negative index counts from the end (-1 = last field).
QString GetToken(const QString& text, const QString& separator, int index);
// Ensures a trailing "/" on a directory path.
QString WithTrailingSeparator(const QString& dir);
// An INI switch: "TRUE", "WAHR" (any case) or a number other than 0 count as true.
bool IstWahr(const QString& text);

} // namespace Allg_Hilfsfkt

// Repairs German letters of UTF-8 text read as single bytes ("MÃ¼ller" -> "Müller") when the
// project stores UTF-8; otherwise returns the text unchanged.
QString UFT8_To_ASCII(const QString& text, bool unicode);
