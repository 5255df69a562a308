#include "TovoTools.h"

#include "Cp1252.h"
#include "TovoDate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

// INI files are handled the way the Windows private-profile functions handle them, since the
// same files are shared with the Windows programs of the suite:
// - section and key names are compared without regard to case; the first matching section and
//   the first matching key count; lines before the first section belong to no section;
// - "key=value" with blanks around key and value ignored; a value enclosed in matching double or
//   single quotes is read without them; lines starting with ";" are comments;
// - writing changes only the line of the key, or inserts the key at the end of its section
//   (before the blank lines that end it), or appends the section at the end of the file. Every
//   other byte of the file stays as it was, line endings included; new lines take the line ending
//   the file already uses (CR LF in a new file).
// Encoding is decided line by line, as files edited by several programs mix them: a line that
// is valid UTF-8 is UTF-8, any other line is Windows-1252. So a line read before a write reads
// the same after it. A changed or new line is written in UTF-8 when the file has a UTF-8 byte
// order mark or UTF-8 lines and no Windows-1252 line, else in Windows-1252 as long as the text
// fits and reads back the same (characters that 1252 lacks would become "?"), else in UTF-8.
// A file with a UTF-16 byte order mark (Notepad's "Unicode") is read and written as UTF-16.
// Lines may end in CR LF, LF or a lone CR (old Mac files); new lines take the file's first ending.
// File names are matched without regard to case when the exact name does not exist, so that
// "TovoRaumverw.ini" and "TovoRaumVerw.ini" address one file as on Windows.

namespace {

enum class Encoding { Undecided, Ansi, Utf8, Utf8Bom, Utf16Le, Utf16Be };

const QByteArray kBom("\xEF\xBB\xBF");
const QByteArray kBomLe("\xFF\xFE");
const QByteArray kBomBe("\xFE\xFF");

bool isAscii(const QByteArray& bytes) {
    for (char c : bytes)
        if (static_cast<uchar>(c) >= 0x80)
            return false;
    return true;
}

bool isUtf8(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    Q_UNUSED(text)
    return !utf8.hasError();
}

// One line's text by the rule above.
QString decodeLine(const QByteArray& raw) {
    return isUtf8(raw) ? QString::fromUtf8(raw) : Cp1252::decode(raw);
}

struct RawLine {
    QByteArray text; // without line ending
    QByteArray eol;  // "\r\n", "\n" or "" for a last line without one
    bool changed = false;
    QString newText; // the line's text once changed; encoded when the file is saved
};

enum class LineKind { Blank, Comment, Section, Key, Other };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    QString name;  // section or key name
    QString value; // key value, blanks removed
};

ParsedLine parseLine(const QString& line) {
    ParsedLine p;
    const QString t = line.trimmed();
    if (t.isEmpty()) {
        p.kind = LineKind::Blank;
    } else if (t.startsWith(QLatin1Char(';'))) {
        p.kind = LineKind::Comment;
    } else if (t.startsWith(QLatin1Char('[')) && t.indexOf(QLatin1Char(']')) > 0) {
        p.kind = LineKind::Section;
        p.name = t.mid(1, t.indexOf(QLatin1Char(']')) - 1).trimmed();
    } else if (const qsizetype eq = t.indexOf(QLatin1Char('=')); eq >= 0) {
        p.kind = LineKind::Key;
        p.name = t.left(eq).trimmed();
        p.value = t.mid(eq + 1).trimmed();
    }
    return p;
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString stripQuotes(const QString& value) {
    if (value.size() >= 2) {
        const QChar q = value.front();
        if ((q == QLatin1Char('"') || q == QLatin1Char('\'')) && value.back() == q)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

// An existing file of that name, found without regard to case; else the path as given.
QString resolvePath(const QString& path) {
    QFileInfo fi(path);
    if (fi.exists())
        return path;
    const QDir dir = fi.absoluteDir();
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : entries)
        if (sameName(name, fi.fileName()))
            return dir.filePath(name);
    return path;
}

class IniFile {
public:
    explicit IniFile(const QString& path) : m_path(resolvePath(path)) { load(); }

    int lineCount() const { return static_cast<int>(m_lines.size()); }
    QString lineText(int i) const {
        if (m_lines[i].changed)
            return m_lines[i].newText;
        return decodeLine(m_lines[i].text);
    }
    ParsedLine parsed(int i) const { return parseLine(lineText(i)); }

    // Index of the section's header line, or -1.
    int findSection(const QString& section) const {
        for (int i = 0; i < lineCount(); ++i) {
            const ParsedLine p = parsed(i);
            if (p.kind == LineKind::Section && sameName(p.name, section))
                return i;
        }
        return -1;
    }
    // One past the section's last line.
    int sectionEnd(int header) const {
        int i = header + 1;
        while (i < lineCount() && parsed(i).kind != LineKind::Section)
            ++i;
        return i;
    }
    int findKey(int header, const QString& key) const {
        const int end = sectionEnd(header);
        for (int i = header + 1; i < end; ++i) {
            const ParsedLine p = parsed(i);
            if (p.kind == LineKind::Key && sameName(p.name, key))
                return i;
        }
        return -1;
    }

    void replaceLine(int i, const QString& text) {
        m_lines[i].changed = true;
        m_lines[i].newText = text;
    }
    void insertLine(int before, const QString& text) {
        const QByteArray nl = newline();
        if (before > 0 && m_lines[before - 1].eol.isEmpty())
            m_lines[before - 1].eol = nl;
        m_lines.insert(before, RawLine{QByteArray(), nl, true, text});
    }

    bool save() {
        for (RawLine& l : m_lines) {
            if (l.changed)
                l.text = encode(l.newText);
            l.changed = false;
        }
        QByteArray bytes;
        for (const RawLine& l : std::as_const(m_lines))
            bytes += l.text + l.eol;
        if (m_encoding == Encoding::Utf8Bom)
            bytes.prepend(kBom);
        else if (m_encoding == Encoding::Utf16Le || m_encoding == Encoding::Utf16Be) {
            // The lines are held as UTF-8 inside; the file goes back as it came.
            const bool le = m_encoding == Encoding::Utf16Le;
            QStringEncoder enc(le ? QStringEncoder::Utf16LE : QStringEncoder::Utf16BE);
            bytes = (le ? kBomLe : kBomBe) + QByteArray(enc.encode(QString::fromUtf8(bytes)));
        }

        QSaveFile file(m_path);
        file.setDirectWriteFallback(true);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        if (file.write(bytes) != bytes.size()) {
            file.cancelWriting();
            return false;
        }
        return file.commit();
    }

private:
    void load() {
        QFile file(m_path);
        if (!file.open(QIODevice::ReadOnly))
            return;
        QByteArray bytes = file.readAll();
        if (bytes.startsWith(kBomLe) || bytes.startsWith(kBomBe)) {
            const bool le = bytes.startsWith(kBomLe);
            m_encoding = le ? Encoding::Utf16Le : Encoding::Utf16Be;
            QStringDecoder dec(le ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
            bytes = QString(dec.decode(bytes.mid(2))).toUtf8();
        } else if (bytes.startsWith(kBom)) {
            m_encoding = Encoding::Utf8Bom;
            bytes.remove(0, kBom.size());
        }
        bool ansi = false, utf8 = false;
        qsizetype start = 0;
        while (start < bytes.size()) {
            RawLine line;
            qsizetype end = start;
            while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
                ++end;
            line.text = bytes.mid(start, end - start);
            if (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n')
                line.eol = QByteArrayLiteral("\r\n");
            else if (end < bytes.size())
                line.eol = bytes.mid(end, 1);
            start = end + line.eol.size();
            if (!isAscii(line.text))
                (isUtf8(line.text) ? utf8 : ansi) = true;
            m_lines.append(line);
        }
        if (m_encoding == Encoding::Undecided && (ansi || utf8))
            m_encoding = ansi ? Encoding::Ansi : Encoding::Utf8;
    }

    QByteArray newline() const {
        for (const RawLine& l : m_lines)
            if (!l.eol.isEmpty())
                return l.eol;
        return QByteArrayLiteral("\r\n");
    }

    // A changed line: in Windows-1252 where the file is not UTF-8 and the text comes back the
    // same from the bytes (they might form UTF-8 by chance); in UTF-8 otherwise.
    QByteArray encode(const QString& text) const {
        if (m_encoding == Encoding::Ansi || m_encoding == Encoding::Undecided) {
            const QByteArray ansi = Cp1252::encode(text);
            if (Cp1252::canEncode(text) && decodeLine(ansi) == text)
                return ansi;
        }
        return text.toUtf8();
    }

    QString m_path;
    Encoding m_encoding = Encoding::Undecided;
    QList<RawLine> m_lines;
};

// A line break inside a value would end the line and could start a section of its own.
QString singleLine(QString value) {
    value.replace(QLatin1Char('\r'), QLatin1Char(' '));
    value.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return value;
}

} // namespace

CTovoTools& CTovoTools::Instance() {
    static CTovoTools instance;
    return instance;
}

QString CTovoTools::ReadIniValue(const QString& file, const QString& section, const QString& key,
                                 const QString& defaultValue) const {
    const IniFile ini(file);
    const int header = ini.findSection(section);
    if (header < 0)
        return defaultValue;
    const int line = ini.findKey(header, key);
    if (line < 0)
        return defaultValue;
    return stripQuotes(ini.parsed(line).value);
}

bool CTovoTools::WriteIniValue(const QString& file, const QString& section, const QString& key,
                               const QString& value) const {
    IniFile ini(file);
    const QString v = singleLine(value);
    const int header = ini.findSection(section);
    if (header < 0) {
        ini.insertLine(ini.lineCount(), QLatin1Char('[') + section + QLatin1Char(']'));
        ini.insertLine(ini.lineCount(), key + QLatin1Char('=') + v);
        return ini.save();
    }
    if (const int line = ini.findKey(header, key); line >= 0) {
        // Keep the key as written and the blanks after "=", replace only the value.
        const QString old = ini.lineText(line);
        qsizetype pos = old.indexOf(QLatin1Char('=')) + 1;
        while (pos < old.size() && (old[pos] == QLatin1Char(' ') || old[pos] == QLatin1Char('\t')))
            ++pos;
        ini.replaceLine(line, old.left(pos) + v);
        return ini.save();
    }
    int at = ini.sectionEnd(header);
    while (at > header + 1 && ini.parsed(at - 1).kind == LineKind::Blank)
        --at;
    ini.insertLine(at, key + QLatin1Char('=') + v);
    return ini.save();
}

QStringList CTovoTools::ReadIniSection(const QString& file, const QString& section) const {
    QStringList entries;
    const IniFile ini(file);
    const int header = ini.findSection(section);
    if (header < 0)
        return entries;
    const int end = ini.sectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        const ParsedLine p = ini.parsed(i);
        if (p.kind == LineKind::Key)
            entries.append(p.name + QLatin1Char('=') + p.value);
    }
    return entries;
}

QString CTovoTools::JetDateLiteral(double date) const {
    return TovoDate(date).jetLiteral();
}
