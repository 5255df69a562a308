#pragma once

#include <QString>
#include <QTypeInfo>
#include <QVector>
#include <cstdint>

// One row of the time plan: a room.
struct ZeitPlanRaum {
    int64_t lId = 0;  // room id
    QString stName;   // row label
    QString stZusatz; // room number
    QString stInfo;   // extra room information shown in the wide room column
    QString stTip;    // tool tip of the room's name: everything known about the room
};

// One bar of the time plan (the appointment list).
struct ZeitPlanTermin {
    int64_t lId = 0;      // booking id
    int64_t lStammId = 0; // room id: selects the row
    QString stName;       // label of the bar
    int64_t lFarbe = 0;   // colour as a Windows colour value (&HBBGGRR)
    double dFrist = 0.0;
    double DtVon = 0.0;
    double DtBis = 0.0;
    int16_t byZyklusEinheit = 0;
    float sZykluswert = 0.0f;
};

// Moved in memory as a whole when a list grows.
Q_DECLARE_TYPEINFO(ZeitPlanTermin, Q_RELOCATABLE_TYPE);

using ZeitPlanRaumListe = QVector<ZeitPlanRaum>;
using ZeitPlanTerminListe = QVector<ZeitPlanTermin>;

// Windows colour values used by the views.
inline constexpr int64_t kFarbeBelegung = 0x80FFFF; // light yellow
inline constexpr int64_t kFarbeUmbau = 0x80C0FF;    // light orange
