#include "DatumsFeld.h"

#include "TovoDate.h"

#include <QLineEdit>
#include <cmath>

namespace DatumsFeld {

QString Text(double datum) {
    return TovoDate(datum).toShortDateText();
}

bool Read(const QLineEdit* feld, double& datum) {
    TovoDate d;
    if (!TovoDate::parse(feld->text().trimmed(), d) || d.value() < 1.0)
        return false;
    datum = std::floor(d.value());
    return true;
}

double AusQDate(const QDate& date) {
    return TovoDate::fromDate(date).value();
}

QDate NachQDate(double datum) {
    return TovoDate(datum).toQDate();
}

} // namespace DatumsFeld
