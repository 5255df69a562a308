#pragma once

#include <QString>

class QDate;
class QLineEdit;

// Helpers shared by the date dialogs: a day number shown in and read from a text field.
namespace DatumsFeld {
// The date as the dialogs show it: "dd.MM.yyyy".
QString Text(double datum);
// Reads a field; false when it holds no date.
bool Read(const QLineEdit* feld, double& datum);
double AusQDate(const QDate& date);
QDate NachQDate(double datum);
} // namespace DatumsFeld
