#pragma once

#include <QByteArray>
#include <QString>

// The Windows ANSI code page 1252 (Western European). It equals Latin-1 except for the bytes
// 0x80-0x9F, which hold typographic signs; the five bytes that 1252 leaves free map to the C1
// control of the same number so that every byte survives decoding and encoding unchanged.
namespace Cp1252 {

// The character of a byte.
QChar toUnicode(uchar byte);
// The byte of a character, or -1 when the code page has none.
int fromUnicode(QChar c);
QString decode(const QByteArray& bytes);
// Characters the code page lacks become '?', as the Windows conversion does.
QByteArray encode(const QString& text);
// True when encode() would lose nothing.
bool canEncode(const QString& text);

} // namespace Cp1252
