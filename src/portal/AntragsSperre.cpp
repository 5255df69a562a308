#include "AntragsSperre.h"

#include "ErrorGuard.h"

#include <QCryptographicHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

// A form left open longer than this gives its claim up (the server closes the idle session).
constexpr int kHaltenSekunden = 8 * 3600;

// The lock's name: program, portal database and request, within the server's 64 characters.
// Request numbers change when the requests are renumbered, so the request is named by what it
// says, as the list finds it again.
const QString kName =
    QStringLiteral("CONCAT('tovo.', LEFT(IFNULL(DATABASE(), ''), 24), '.antrag.', ?)");

QString Schluessel(const NetzpultAntrag& a) {
    const QString text = a.Spalten().join(QChar(0x1f)) + QChar(0x1f) + QString::number(a.lRaumId) +
                         QChar(0x1f) + QString::number(a.lBelegId);
    return QString::fromLatin1(
        QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1).toHex().left(24));
}

} // namespace

bool CAntragsSperre::Beanspruchen(const NetzpultAntrag& antrag) {
    m_verbindung.OeffnenOderFehler();
    QSqlQuery q(m_verbindung.db());
    const QString schluessel = Schluessel(antrag);
    const auto fehler = [&q] {
        RaiseError(QStringLiteral("Der Antrag konnte im Netzpult nicht reserviert werden.") +
                   QStringLiteral("\r\n") + q.lastError().text());
    };
    if (!q.exec(QStringLiteral("SET SESSION wait_timeout = %1").arg(kHaltenSekunden)))
        fehler();
    if (!q.prepare(QStringLiteral("SELECT GET_LOCK(") + kName + QStringLiteral(", 0)")))
        fehler();
    q.addBindValue(schluessel);
    if (!q.exec() || !q.next())
        fehler();
    if (q.value(0).toInt() != 1)
        return false;
    m_schluessel = schluessel;
    return true;
}

CAntragsSperre::~CAntragsSperre() {
    if (m_schluessel.isEmpty())
        return;
    // Closing the session would release it too; said explicitly, it goes at once.
    QSqlQuery q(m_verbindung.db());
    if (q.prepare(QStringLiteral("SELECT RELEASE_LOCK(") + kName + QLatin1Char(')'))) {
        q.addBindValue(m_schluessel);
        q.exec();
    }
}
