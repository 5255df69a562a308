#pragma once

// An iCalendar text read back by libical, an independent RFC 5545 parser: its events, each with
// every occurrence from DTSTART, RRULE, RDATE and EXDATE.
#include "TestProjekt.h"

#include <QDate>
#include <QString>
#include <QVector>
#include <algorithm>
#include <libical/ical.h>

namespace IcsLesen {

struct Ereignis {
    QString uid, summary, location, description;
    QVector<QDate> tage; // every occurrence
    QDate recurrenceId;  // the date of the series this event replaces
    int stunde = -1;
    QString tzid;
};

inline QDate Datum(const icaltimetype& t) {
    return QDate(t.year, t.month, t.day);
}

// The events of the text, each with its occurrences from DTSTART, RRULE, RDATE and EXDATE.
inline QVector<Ereignis> Lesen(const QString& ics) {
    QVector<Ereignis> out;
    icalcomponent* cal = icalparser_parse_string(ics.toUtf8().constData());
    if (!cal)
        return out;
    for (icalcomponent* e = icalcomponent_get_first_component(cal, ICAL_VEVENT_COMPONENT); e;
         e = icalcomponent_get_next_component(cal, ICAL_VEVENT_COMPONENT)) {
        Ereignis r;
        r.uid = QString::fromUtf8(icalcomponent_get_uid(e));
        r.summary = QString::fromUtf8(icalcomponent_get_summary(e));
        r.location = QString::fromUtf8(icalcomponent_get_location(e));
        r.description = QString::fromUtf8(icalcomponent_get_description(e));
        if (icalcomponent_get_first_property(e, ICAL_RECURRENCEID_PROPERTY))
            r.recurrenceId = Datum(icalcomponent_get_recurrenceid(e));
        icalproperty* start = icalcomponent_get_first_property(e, ICAL_DTSTART_PROPERTY);
        const icaltimetype dtstart = icalproperty_get_dtstart(start);
        r.stunde = dtstart.hour;
        if (icalparameter* tz = icalproperty_get_first_parameter(start, ICAL_TZID_PARAMETER))
            r.tzid = QString::fromUtf8(icalparameter_get_tzid(tz));
        QVector<QDate> tage;
        if (icalproperty* rr = icalcomponent_get_first_property(e, ICAL_RRULE_PROPERTY)) {
            icalrecur_iterator* it = icalrecur_iterator_new(icalproperty_get_rrule(rr), dtstart);
            for (icaltimetype t = icalrecur_iterator_next(it); !icaltime_is_null_time(t);
                 t = icalrecur_iterator_next(it))
                tage << Datum(t);
            icalrecur_iterator_free(it);
        } else {
            tage << Datum(dtstart);
        }
        for (icalproperty* rd = icalcomponent_get_first_property(e, ICAL_RDATE_PROPERTY); rd;
             rd = icalcomponent_get_next_property(e, ICAL_RDATE_PROPERTY))
            tage << Datum(icalproperty_get_rdate(rd).time);
        for (icalproperty* ex = icalcomponent_get_first_property(e, ICAL_EXDATE_PROPERTY); ex;
             ex = icalcomponent_get_next_property(e, ICAL_EXDATE_PROPERTY))
            tage.removeAll(Datum(icalproperty_get_exdate(ex)));
        std::sort(tage.begin(), tage.end());
        r.tage = tage;
        out << r;
    }
    icalcomponent_free(cal);
    return out;
}

inline QVector<QDate> Tage(std::initializer_list<int> n) {
    QVector<QDate> out;
    for (int t : n)
        out << TovoDate(Tag(t)).toQDate();
    return out;
}

} // namespace IcsLesen
