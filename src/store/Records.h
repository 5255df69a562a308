#pragma once

#include "Currency.h"
#include "TovoDate.h"

#include <QString>
#include <cstdint>

// One record class per table. Fields carry the column names; their declaration order is the
// order in which CopyFrom copies. Dates are day counts (see TovoDate). Every record class offers
// visitFields(), which hands each column name with its field to a visitor, in declaration order,
// so that reading and writing rows needs no per-column code. The key field is visited first.

// Null rule of a column when a row is read.
enum class NullRule {
    NotNull,  // a null here is a read error
    NoDate,   // null reads as 31.12.9999
    ZeroDate, // null reads as 30.12.1899
    Empty     // null reads as "" or 0
};

// Marks a field that holds a date (stored as REAL day number), to tell it apart from a Double.
struct DateField {
    double& value;
};

class CBelegungRec {
public:
    CBelegungRec() { Init(); }
    void Init();
    void CopyFrom(const CBelegungRec& source) { *this = source; }

    int32_t Rec_ID;
    int32_t lAuftrNr;
    int32_t rb_id;
    double dt_von;
    double tm_von;
    double dt_bis;
    double tm_bis;
    QString Best;
    QString Tel;
    QString Fax;
    QString Inst;
    QString KST;
    QString Pers;
    QString Verst;
    QString Bem;
    Currency Miete;
    Currency Umbau;
    Currency Pausch;
    Currency Technik;
    Currency Sicherheit;
    Currency Tageskraft;
    Currency Sonst;
    int32_t Aust;
    QString Austbem;
    QString UmbBereit;
    double UmbAufwand;
    QString UmbBem;
    double Udt_von;
    double Utm_von;
    double Udt_bis;
    double Utm_bis;
    double Rdt_von;
    double Rtm_von;
    double Rdt_bis;
    double Rtm_bis;
    bool bEMail;
    QString stSerieBem;
    int32_t lFirma1;
    int32_t lPerson1;
    int32_t lFirma2;
    int32_t lPerson2;
    QString stFirma2;
    QString stPerson2;
    QString STEMAIL;
    QString STSTUHLANORDNUNG;
    int16_t IPTISCHE;
    double datBestellung;
    double datKorrektur;
    double datErstBestellung;

    static constexpr const char* kTable = "T_fm_belegung";
    static constexpr const char* kKey = "Rec_ID";
    int32_t& key() { return Rec_ID; }
    int32_t key() const { return Rec_ID; }

    template <class V> void visitFields(V&& v) {
        v("Rec_ID", Rec_ID, NullRule::NotNull);
        v("lAuftrNr", lAuftrNr, NullRule::NotNull);
        v("rb_id", rb_id, NullRule::NotNull);
        v("dt_von", DateField{dt_von}, NullRule::NotNull);
        v("tm_von", DateField{tm_von}, NullRule::NotNull);
        v("dt_bis", DateField{dt_bis}, NullRule::NotNull);
        v("tm_bis", DateField{tm_bis}, NullRule::NotNull);
        v("Best", Best, NullRule::NotNull);
        v("Tel", Tel, NullRule::NotNull);
        v("Fax", Fax, NullRule::NotNull);
        v("Inst", Inst, NullRule::NotNull);
        v("KST", KST, NullRule::NotNull);
        v("Pers", Pers, NullRule::NotNull);
        v("Verst", Verst, NullRule::NotNull);
        v("Bem", Bem, NullRule::NotNull);
        v("Miete", Miete, NullRule::NotNull);
        v("Umbau", Umbau, NullRule::NotNull);
        v("Pausch", Pausch, NullRule::NotNull);
        v("Technik", Technik, NullRule::NotNull);
        v("Sicherheit", Sicherheit, NullRule::NotNull);
        v("Tageskraft", Tageskraft, NullRule::NotNull);
        v("Sonst", Sonst, NullRule::NotNull);
        v("Aust", Aust, NullRule::NotNull);
        v("Austbem", Austbem, NullRule::NotNull);
        v("UmbBereit", UmbBereit, NullRule::NotNull);
        v("UmbAufwand", UmbAufwand, NullRule::NotNull);
        v("UmbBem", UmbBem, NullRule::NotNull);
        v("Udt_von", DateField{Udt_von}, NullRule::NoDate);
        v("Utm_von", DateField{Utm_von}, NullRule::NoDate);
        v("Udt_bis", DateField{Udt_bis}, NullRule::NoDate);
        v("Utm_bis", DateField{Utm_bis}, NullRule::NoDate);
        v("Rdt_von", DateField{Rdt_von}, NullRule::NoDate);
        v("Rtm_von", DateField{Rtm_von}, NullRule::NoDate);
        v("Rdt_bis", DateField{Rdt_bis}, NullRule::NoDate);
        v("Rtm_bis", DateField{Rtm_bis}, NullRule::NoDate);
        v("bEMail", bEMail, NullRule::NotNull);
        v("stSerieBem", stSerieBem, NullRule::Empty);
        v("lFirma1", lFirma1, NullRule::Empty);
        v("lPerson1", lPerson1, NullRule::Empty);
        v("lFirma2", lFirma2, NullRule::Empty);
        v("lPerson2", lPerson2, NullRule::Empty);
        v("stFirma2", stFirma2, NullRule::Empty);
        v("stPerson2", stPerson2, NullRule::Empty);
        v("STEMAIL", STEMAIL, NullRule::Empty);
        v("STSTUHLANORDNUNG", STSTUHLANORDNUNG, NullRule::Empty);
        v("IPTISCHE", IPTISCHE, NullRule::Empty);
        v("datBestellung", DateField{datBestellung}, NullRule::ZeroDate);
        v("datKorrektur", DateField{datKorrektur}, NullRule::ZeroDate);
        v("datErstBestellung", DateField{datErstBestellung}, NullRule::ZeroDate);
    }
};

class CAnzeigeRec {
public:
    CAnzeigeRec() { Init(); }
    void Init();
    void CopyFrom(const CAnzeigeRec& source) { *this = source; }

    int32_t az_ID;
    QString RaumNr;
    QString Kurzbez;
    QString RArt;
    int32_t lRaumartId;
    int32_t lGebraumId;
    QString STSTUHLANORDNUNG;
    int16_t IANZAHLPERS;
    QString stAusstattung;
    int16_t IPTISCHE;
    int16_t IPTISCHEFEST;

    static constexpr const char* kTable = "T_rb_Anzeige";
    static constexpr const char* kKey = "az_ID";
    int32_t& key() { return az_ID; }
    int32_t key() const { return az_ID; }

    template <class V> void visitFields(V&& v) {
        v("az_ID", az_ID, NullRule::NotNull);
        v("RaumNr", RaumNr, NullRule::NotNull);
        v("Kurzbez", Kurzbez, NullRule::NotNull);
        v("RArt", RArt, NullRule::NotNull);
        v("lRaumartId", lRaumartId, NullRule::NotNull);
        v("lGebraumId", lGebraumId, NullRule::NotNull);
        v("STSTUHLANORDNUNG", STSTUHLANORDNUNG, NullRule::Empty);
        v("IANZAHLPERS", IANZAHLPERS, NullRule::Empty);
        v("stAusstattung", stAusstattung, NullRule::Empty);
        v("IPTISCHE", IPTISCHE, NullRule::Empty);
        v("IPTISCHEFEST", IPTISCHEFEST, NullRule::Empty);
    }
};

class CRaumartRec {
public:
    CRaumartRec() { Init(); }
    void Init();
    void CopyFrom(const CRaumartRec& source) { *this = source; }

    int32_t lId;
    QString stRaumArt;

    static constexpr const char* kTable = "T_Raumart";
    static constexpr const char* kKey = "lId";
    int32_t& key() { return lId; }
    int32_t key() const { return lId; }

    template <class V> void visitFields(V&& v) {
        v("lId", lId, NullRule::NotNull);
        v("stRaumArt", stRaumArt, NullRule::NotNull);
    }
};

class CMitarbeiterRec {
public:
    CMitarbeiterRec() { Init(); }
    void Init();
    void CopyFrom(const CMitarbeiterRec& source) { *this = source; }

    int32_t lId;
    QString stPersNr;
    QString stAnrede;
    QString stVorname;
    QString stName;
    QString stAbteilung;
    QString stFunktion;
    QString stTelefon;
    QString stTelefax;
    QString STEMAIL;
    QString STFIRMA;
    QString stRaumNr;
    QString STKOSTENSTELLE;
    QString STBEMERKUNG;
    int32_t lAnsprechId;

    static constexpr const char* kTable = "T_Mitarbeiter";
    static constexpr const char* kKey = "lId";
    int32_t& key() { return lId; }
    int32_t key() const { return lId; }

    template <class V> void visitFields(V&& v) {
        v("lId", lId, NullRule::NotNull);
        v("stPersNr", stPersNr, NullRule::NotNull);
        v("stAnrede", stAnrede, NullRule::NotNull);
        v("stVorname", stVorname, NullRule::NotNull);
        v("stName", stName, NullRule::NotNull);
        v("stAbteilung", stAbteilung, NullRule::NotNull);
        v("stFunktion", stFunktion, NullRule::NotNull);
        v("stTelefon", stTelefon, NullRule::NotNull);
        v("stTelefax", stTelefax, NullRule::NotNull);
        v("STEMAIL", STEMAIL, NullRule::NotNull);
        v("STFIRMA", STFIRMA, NullRule::NotNull);
        v("stRaumNr", stRaumNr, NullRule::NotNull);
        v("STKOSTENSTELLE", STKOSTENSTELLE, NullRule::NotNull);
        v("STBEMERKUNG", STBEMERKUNG, NullRule::NotNull);
        v("lAnsprechId", lAnsprechId, NullRule::NotNull);
    }
};
