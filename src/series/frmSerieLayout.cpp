// Building the series dialog's controls.
#include "frmSerie.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

namespace {

template <class W> W* named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

QString indexed(const char* name, int index) {
    return QLatin1String(name) + QLatin1Char('_') + QString::number(index);
}

QLabel* label(QWidget* parent, const char* name, const QString& caption) {
    return named(new QLabel(caption, parent), QLatin1String(name));
}

// A field that takes digits only, at most `length` of them.
QLineEdit* numberField(QWidget* parent, const QString& name, int length) {
    auto* e = named(new QLineEdit(parent), name);
    static const QRegularExpression digits(QStringLiteral("\\d*"));
    e->setValidator(new QRegularExpressionValidator(digits, e));
    e->setMaxLength(length);
    e->setMaximumWidth(e->fontMetrics().horizontalAdvance(QString(length + 2, QLatin1Char('0'))) +
                       8);
    return e;
}

QLineEdit* textField(QWidget* parent, const char* name, int length) {
    auto* e = named(new QLineEdit(parent), QLatin1String(name));
    e->setMaxLength(length);
    e->setMaximumWidth(e->fontMetrics().horizontalAdvance(QString(length + 2, QLatin1Char('0'))) +
                       8);
    return e;
}

QComboBox* list(QWidget* parent, const QString& name, const QStringList& items) {
    auto* c = named(new QComboBox(parent), name);
    c->addItems(items);
    return c;
}

QStringList anzItems() {
    return {QStringLiteral("ersten"), QStringLiteral("zweiten"), QStringLiteral("dritten"),
            QStringLiteral("vierten"), QStringLiteral("letzten")};
}
QStringList weekdayItems() {
    QStringList items;
    for (int d = 1; d <= 7; ++d)
        items << TovoDate::weekdayName(d);
    return items;
}
QStringList monthItems() {
    QStringList items;
    for (int m = 1; m <= 12; ++m)
        items << TovoDate::monthName(m);
    return items;
}
QStringList hourItems() {
    QStringList items;
    for (int h = 0; h < 24; ++h)
        items << QStringLiteral("%1:00").arg(h, 2, 10, QLatin1Char('0'));
    return items;
}

QHBoxLayout* row(std::initializer_list<QWidget*> widgets) {
    auto* r = new QHBoxLayout;
    for (QWidget* w : widgets)
        r->addWidget(w);
    r->addStretch(1);
    return r;
}

} // namespace

void frmSerie::BuildControls() {
    setObjectName(QStringLiteral("frmSerie"));
    setWindowTitle(QStringLiteral("Terminserie"));
    setModal(true);
    auto* main = new QVBoxLayout(this);

    // Times of day.
    auto* frZeit = named(new QGroupBox(QStringLiteral("Uhrzeit"), this), QStringLiteral("frZeit"));
    auto* zeit = new QGridLayout(frZeit);
    edTimeBeginn = textField(frZeit, "edTimeBeginn", 5);
    edTimeEnde = textField(frZeit, "edTimeEnde", 5);
    coBeginnZeit = list(frZeit, QStringLiteral("coBeginnZeit"), hourItems());
    coEndeZeit = list(frZeit, QStringLiteral("coEndeZeit"), hourItems());
    coBeginnZeit->setCurrentIndex(-1);
    coEndeZeit->setCurrentIndex(-1);
    zeit->addWidget(label(frZeit, "lbTimeBeginn", QStringLiteral("Beginn:")), 0, 0);
    zeit->addWidget(edTimeBeginn, 0, 1);
    zeit->addWidget(coBeginnZeit, 0, 2);
    zeit->addWidget(label(frZeit, "lbTimeEnde", QStringLiteral("Ende:")), 0, 3);
    zeit->addWidget(edTimeEnde, 0, 4);
    zeit->addWidget(coEndeZeit, 0, 5);
    zeit->setColumnStretch(6, 1);
    main->addWidget(frZeit);

    // Pattern: the options on the left, the frame of the chosen one on the right.
    auto* frMuster =
        named(new QGroupBox(QStringLiteral("Serienmuster"), this), QStringLiteral("frMuster"));
    auto* muster = new QHBoxLayout(frMuster);
    auto* optionen = new QVBoxLayout;
    obDaily =
        named(new QRadioButton(QStringLiteral("&Täglich"), frMuster), QStringLiteral("obDaily"));
    obWeekly = named(new QRadioButton(QStringLiteral("&Wöchentlich"), frMuster),
                     QStringLiteral("obWeekly"));
    obMonthly = named(new QRadioButton(QStringLiteral("&Monatlich"), frMuster),
                      QStringLiteral("obMonthly"));
    obYearly =
        named(new QRadioButton(QStringLiteral("&Jährlich"), frMuster), QStringLiteral("obYearly"));
    for (QRadioButton* o : {obDaily, obWeekly, obMonthly, obYearly})
        optionen->addWidget(o);
    optionen->addStretch(1);
    muster->addLayout(optionen);
    auto* frames = new QVBoxLayout;
    muster->addLayout(frames, 1);

    frDaily = named(new QGroupBox(frMuster), QStringLiteral("frDaily"));
    auto* daily = new QVBoxLayout(frDaily);
    obJeden =
        named(new QRadioButton(QStringLiteral("Jeden/Alle"), frDaily), QStringLiteral("obJeden"));
    edFreqTag = numberField(frDaily, QStringLiteral("edFreqTag"), 3);
    obJedenArb = named(new QRadioButton(QStringLiteral("Jeden Arbeitstag"), frDaily),
                       QStringLiteral("obJedenArb"));
    daily->addLayout(row({obJeden, edFreqTag, label(frDaily, "lbTage", QStringLiteral("Tag(e)"))}));
    daily->addLayout(row({obJedenArb}));
    daily->addStretch(1);

    frWeekly = named(new QGroupBox(frMuster), QStringLiteral("frWeekly"));
    auto* weekly = new QVBoxLayout(frWeekly);
    edFreqWeek = numberField(frWeekly, QStringLiteral("edFreqWeek"), 3);
    weekly->addLayout(row({label(frWeekly, "lbJede", QStringLiteral("Jede/Alle")), edFreqWeek,
                           label(frWeekly, "lbWocheAm", QStringLiteral("Woche(n) am"))}));
    auto* tage = new QGridLayout;
    for (int i = 0; i < 7; ++i) {
        cbWeekday[i] =
            named(new QCheckBox(TovoDate::weekdayName(i + 1), frWeekly), indexed("cbWeekday", i));
        tage->addWidget(cbWeekday[i], i / 4, i % 4);
    }
    weekly->addLayout(tage);
    weekly->addStretch(1);

    frMonthly = named(new QGroupBox(frMuster), QStringLiteral("frMonthly"));
    auto* monthly = new QVBoxLayout(frMonthly);
    obRule[0] = named(new QRadioButton(QStringLiteral("Am"), frMonthly), indexed("obRule", 0));
    obRule[1] = named(new QRadioButton(QStringLiteral("Am"), frMonthly), indexed("obRule", 1));
    edDay = numberField(frMonthly, QStringLiteral("edDay"), 2);
    edFreqMonth[0] = numberField(frMonthly, indexed("edFreqMonth", 0), 3);
    edFreqMonth[1] = numberField(frMonthly, indexed("edFreqMonth", 1), 3);
    coAnz = list(frMonthly, QStringLiteral("coAnz"), anzItems());
    coDayArt = list(frMonthly, QStringLiteral("coDayArt"), weekdayItems());
    monthly->addLayout(
        row({obRule[0], edDay, label(frMonthly, "lbTagJedes", QStringLiteral(". Tag jedes")),
             edFreqMonth[0], label(frMonthly, "lbMonats0", QStringLiteral(". Monats"))}));
    monthly->addLayout(
        row({obRule[1], coAnz, coDayArt, label(frMonthly, "lbJedes", QStringLiteral("jedes")),
             edFreqMonth[1], label(frMonthly, "lbMonats1", QStringLiteral(". Monats"))}));
    monthly->addStretch(1);

    frYearly = named(new QGroupBox(frMuster), QStringLiteral("frYearly"));
    auto* yearly = new QVBoxLayout(frYearly);
    obRule[2] = named(new QRadioButton(QStringLiteral("Jeden"), frYearly), indexed("obRule", 2));
    obRule[3] = named(new QRadioButton(QStringLiteral("Am"), frYearly), indexed("obRule", 3));
    edDayYear = numberField(frYearly, QStringLiteral("edDayYear"), 2);
    coMonth[0] = list(frYearly, indexed("coMonth", 0), monthItems());
    coMonth[1] = list(frYearly, indexed("coMonth", 1), monthItems());
    coAnzYear = list(frYearly, QStringLiteral("coAnzYear"), anzItems());
    coDayArtYear = list(frYearly, QStringLiteral("coDayArtYear"), weekdayItems());
    yearly->addLayout(
        row({obRule[2], edDayYear, label(frYearly, "lbPunkt", QStringLiteral(".")), coMonth[0]}));
    yearly->addLayout(row({obRule[3], coAnzYear, coDayArtYear,
                           label(frYearly, "lbIm", QStringLiteral("im")), coMonth[1]}));
    yearly->addStretch(1);

    for (QGroupBox* f : {frDaily, frWeekly, frMonthly, frYearly}) {
        frames->addWidget(f);
        f->hide();
    }
    main->addWidget(frMuster);

    // Range of the series.
    auto* frDauer =
        named(new QGroupBox(QStringLiteral("Seriendauer"), this), QStringLiteral("frDauer"));
    auto* dauer = new QGridLayout(frDauer);
    edBeginn = textField(frDauer, "edBeginn", 10);
    edEnde = textField(frDauer, "edEnde", 10);
    edAnzTerm = numberField(frDauer, QStringLiteral("edAnzTerm"), 5);
    obEndeDatum = named(new QRadioButton(QStringLiteral("Endet am:"), frDauer),
                        QStringLiteral("obEndeDatum"));
    obEndeNach = named(new QRadioButton(QStringLiteral("Endet nach:"), frDauer),
                       QStringLiteral("obEndeNach"));
    for (int i = 0; i < 2; ++i) {
        pbDatum[i] = named(new QPushButton(QStringLiteral("..."), frDauer), indexed("pbDatum", i));
        pbDatum[i]->setToolTip(QStringLiteral("Kalender"));
        pbDatum[i]->setAutoDefault(false);
        pbDatum[i]->setMaximumWidth(
            pbDatum[i]->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
    }
    dauer->addWidget(label(frDauer, "lbBeginn", QStringLiteral("Beginn:")), 0, 0);
    dauer->addWidget(edBeginn, 0, 1);
    dauer->addWidget(pbDatum[0], 0, 2);
    dauer->addWidget(obEndeDatum, 1, 0);
    dauer->addWidget(edEnde, 1, 1);
    dauer->addWidget(pbDatum[1], 1, 2);
    dauer->addWidget(obEndeNach, 2, 0);
    dauer->addWidget(edAnzTerm, 2, 1);
    dauer->addWidget(label(frDauer, "lbTermine", QStringLiteral("Terminen")), 2, 2);
    cbFeiertage = named(new QCheckBox(QStringLiteral("Feiertage auslassen"), frDauer),
                        QStringLiteral("cbFeiertage"));
    dauer->addWidget(cbFeiertage, 3, 0, 1, 3);
    dauer->setColumnStretch(3, 1);
    main->addWidget(frDauer);

    auto* buttons = new QHBoxLayout;
    pbPruefen = named(new QPushButton(QStringLiteral("Termine &prüfen…"), this),
                      QStringLiteral("pbPruefen"));
    pbPruefen->setAutoDefault(false);
    pbPruefen->hide();
    buttons->addWidget(pbPruefen);
    buttons->addStretch(1);
    pbOk = named(new QPushButton(QStringLiteral("&OK"), this), QStringLiteral("pbOk"));
    pbOk->setDefault(true);
    pbCancel =
        named(new QPushButton(QStringLiteral("&Abbrechen"), this), QStringLiteral("pbCancel"));
    pbCancel->setAutoDefault(false);
    buttons->addWidget(pbOk);
    buttons->addWidget(pbCancel);
    main->addLayout(buttons);

    MonthView1 = named(new QCalendarWidget(this), QStringLiteral("MonthView1"));
    MonthView1->setWindowFlags(Qt::Popup);
    MonthView1->setGridVisible(true);
    MonthView1->setFirstDayOfWeek(Qt::Monday);
    MonthView1->hide();

    trStatus = new QTimer(this);
    trStatus->setObjectName(QStringLiteral("trStatus"));
    trStatus->setInterval(500);
}
