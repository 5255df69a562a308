#include "Records.h"

void CBelegungRec::Init() {
    const double now = TovoDate::now().value();
    Rec_ID = 0;
    lAuftrNr = 0;
    rb_id = 0;
    dt_von = tm_von = dt_bis = tm_bis = now;
    Best.clear();
    Tel.clear();
    Fax.clear();
    Inst.clear();
    KST.clear();
    Pers.clear();
    Verst.clear();
    Bem.clear();
    Miete = Umbau = Pausch = Technik = Sicherheit = Tageskraft = Sonst = Currency();
    Aust = 0;
    Austbem.clear();
    UmbBereit.clear();
    UmbAufwand = 0.0;
    UmbBem.clear();
    // A new record has no set-up or clear-down dates, but 00:00 in their time fields.
    Udt_von = Udt_bis = Rdt_von = Rdt_bis = TovoDate::kNoDate;
    Utm_von = Utm_bis = Rtm_von = Rtm_bis = 0.0;
    bEMail = false;
    stSerieBem.clear();
    lFirma1 = lPerson1 = lFirma2 = lPerson2 = 0;
    stFirma2.clear();
    stPerson2.clear();
    STEMAIL.clear();
    STSTUHLANORDNUNG.clear();
    IPTISCHE = 0;
    datBestellung = datKorrektur = datErstBestellung = TovoDate::kNoDate;
}

void CAnzeigeRec::Init() {
    az_ID = 0;
    RaumNr.clear();
    Kurzbez.clear();
    RArt.clear();
    lRaumartId = 0;
    lGebraumId = 0;
    STSTUHLANORDNUNG.clear();
    IANZAHLPERS = 0;
    stAusstattung.clear();
    IPTISCHE = 0;
    IPTISCHEFEST = 0;
}

void CRaumartRec::Init() {
    lId = 0;
    stRaumArt.clear();
}

void CMitarbeiterRec::Init() {
    lId = 0;
    stPersNr.clear();
    stAnrede.clear();
    stVorname.clear();
    stName.clear();
    stAbteilung.clear();
    stFunktion.clear();
    stTelefon.clear();
    stTelefax.clear();
    STEMAIL.clear();
    STFIRMA.clear();
    stRaumNr.clear();
    STKOSTENSTELLE.clear();
    STBEMERKUNG.clear();
    lAnsprechId = 0;
}
