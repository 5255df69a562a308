#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVector>

// A plain-text e-mail and its MIME form: UTF-8, quoted-printable body, encoded words for names
// and subject, Date and Message-ID, attachments as parts of a multipart/mixed message. Header texts
// never carry a line break: CR, LF and other control characters become blanks, so no text of a user
// can start a header of its own.
namespace MailNachricht {

struct Adresse {
    QString name;    // display name, may be empty
    QString adresse; // local@domain
};

// A file sent along, base64-encoded: "Reservierung.ics" as "text/calendar; method=PUBLISH".
struct Anhang {
    QString dateiname; // ASCII letters, digits, blanks, dots and dashes are kept
    QByteArray typ;    // media type with its parameters, without charset
    QByteArray daten;  // UTF-8 for text types
};

struct Nachricht {
    Adresse von;
    QVector<Adresse> an;
    QVector<Adresse> cc;
    QString betreff;
    QString text;             // the body; line ends of any kind
    QDateTime datum;          // invalid = now
    QString messageId;        // without angle brackets; empty = a new one
    QVector<Anhang> anhaenge; // none = a plain text message, else multipart/mixed
};

// True for a plain address local@domain as mail servers take it: ASCII only, no blanks, no
// control characters, a dot-atom before the @ and a host name after it.
bool IstGueltigeAdresse(const QString& adresse);

// The first address of sender, recipients and copies that is not valid; empty when all are.
// A message without recipient gives "" as well: check `an` yourself.
QString UngueltigeAdresse(const Nachricht& nachricht);

// A new Message-ID (without angle brackets) in the domain of the sender's address.
QString NeueMessageId(const QString& absender);

// The whole message as it goes over the wire, lines ended by CR LF.
QByteArray Mime(const Nachricht& nachricht);

// The pieces. `belegt` is what the header's name takes of the first line.
QByteArray QuotedPrintable(const QString& text);
QByteArray KopfText(const QString& text, int belegt);             // unstructured (subject)
QByteArray AdressKopf(const QVector<Adresse>& liste, int belegt); // "Name <a@b>, ..." folded
QByteArray DatumsKopf(const QDateTime& zeit); // "Sun, 06 Dec 2026 07:12:00 +0100"

} // namespace MailNachricht
