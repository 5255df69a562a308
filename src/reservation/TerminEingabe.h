#pragma once

#include <QString>
#include <QVector>
#include <array>
#include <cstdint>

// The date and time boxes of the reservation form as the user typed them: start and end of the
// booking, of its set-up and of its clear-down. Without widgets: the form copies its boxes into
// `text`, runs a step and copies the texts back.
//
// A box is checked when the user leaves it (an impossible date or time is refused, never
// changed). The checks of a span wait until the span is complete: they fall due when the focus
// leaves the group of boxes that was edited (the booking's four boxes, or the eight of set-up and
// clear-down), not after each box. The checks themselves and their corrections are here too.
class TerminEingabe {
public:
    enum Moment { Beginn, Ende, UmbauBeginn, UmbauEnde, RueckbauBeginn, RueckbauEnde };
    static constexpr int kMomente = 6;
    // Boxes: 2 * moment is the date box, 2 * moment + 1 the time box.
    static constexpr int kBoxen = 2 * kMomente;
    static constexpr int Datum(int moment) { return 2 * moment; }
    static constexpr int Zeit(int moment) { return 2 * moment + 1; }
    // The focus went to a control that is no date or time box.
    static constexpr int kAussen = -1;

    std::array<QString, kBoxen> text;

    // --- when the checks run -------------------------------------------------------------------
    // The user typed into the box (or picked a date for it).
    void Bearbeitet(int box);
    struct Verlassen {
        QString meldung;     // the box holds no possible date or time; the user stays in it
        bool spanne = false; // the group's span checks are due now
    };
    // The focus moves from `box` to `ziel` (a box or kAussen). Typed times are completed: "24:15"
    // is 00:15, an empty time of the booking 00:00, and a time in the hour after midnight puts
    // the end on the next day; a valid date is shown in full.
    Verlassen Verlasse(int box, int ziel);
    // An edited group whose span has not been checked since: due before saving. Clears it.
    bool SpanneOffen();

    // --- the checks ----------------------------------------------------------------------------
    struct Meldung {
        QString text;
        bool rueckbauHinweis = false; // shown as a note titled "Rückbau", else as a plain message
    };
    // Set-up and clear-down against the booking: each wrong moment is corrected; the messages in
    // the order of the checks.
    QVector<Meldung> Bau();
    // The span of the booking as a whole: "" when its end lies after its start (or a date is
    // still missing), else the message.
    QString BuchungsSpanne() const;
    // The check before saving: the first failing step. A missing set-up end or clear-down start
    // is a question (`frage` 0 or 1); FrageAnnehmen fills it in.
    struct Befund {
        QString meldung; // "" = passes
        int frage = -1;
    };
    Befund VorDemSpeichern() const;
    void FrageAnnehmen(int frage);
    // Hours of set-up and clear-down together.
    double Aufwand() const;
    // "Termine vorschlagen": an hour of set-up (0) ending half an hour before the booking, or of
    // clear-down (1) from half an hour after it.
    void Vorschlagen(int index);

    // A moment as whole minutes: false unless date and time are valid.
    bool Zeitpunkt(int moment, int64_t& minuten) const;
    bool HatDatum(int moment) const;

private:
    static int Gruppe(int box) { return box < Datum(UmbauBeginn) ? 0 : 1; }
    int64_t Minuten(int moment) const; // an empty or invalid time counts as midnight
    void Setze(int moment, int64_t minuten);

    uint32_t m_bearbeitet = 0;     // boxes typed into since the box was last left
    std::array<bool, 2> m_offen{}; // groups edited since their span was last checked
};
