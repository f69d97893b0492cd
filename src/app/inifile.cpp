#include "app/inifile.h"

#include "app/errors.h"
#include "app/safe_write.h"

#include <QFile>

#include <cctype>

namespace {

bool isSectionHeader(const QString& trimmed) {
    return trimmed.startsWith(QLatin1Char('['));
}

QString sectionName(const QString& trimmed) {
    const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
    return trimmed.mid(1, close < 0 ? -1 : close - 1).trimmed();
}

// Names match without regard to letter case: both sides are compared case-folded.
QString folded(const QString& name) {
    return name.trimmed().toCaseFolded();
}

} // namespace

TIniFile::TIniFile(QString fileName) : m_fileName(std::move(fileName)) {
    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadOnly))
        return;
    m_existed = true;
    QByteArray data = file.readAll();
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    QString text = QString::fromUtf8(data);
    if (text.contains(QLatin1String("\r\n")))
        m_lineEnd = QStringLiteral("\r\n");
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    m_lines = text.split(QLatin1Char('\n'));
    // A final line break does not start another line.
    if (!m_lines.isEmpty() && m_lines.last().isEmpty())
        m_lines.removeLast();
    buildIndex();
}

void TIniFile::buildIndex() {
    m_sections.clear();
    // The section being indexed: null before the first header and within a later duplicate of a
    // section, whose keys no read finds. A new entry is made only as the previous one is left,
    // so the pointer never outlives a change of the table.
    Section* current = nullptr;
    QString key;
    for (int i = 0; i < m_lines.size(); ++i) {
        const QString& line = m_lines.at(i);
        const QString trimmed = line.trimmed();
        if (isSectionHeader(trimmed)) {
            if (current)
                current->end = i;
            current = nullptr;
            const QString name = folded(sectionName(trimmed));
            if (!m_sections.contains(name)) {
                current = &m_sections[name];
                current->header = i;
            }
            continue;
        }
        if (!current || !splitKeyLine(line, &key, nullptr))
            continue;
        const QString name = key.toCaseFolded();
        if (!current->keys.contains(name)) // the first of duplicate keys wins
            current->keys.insert(name, i);
    }
    if (current)
        current->end = int(m_lines.size());
}

bool TIniFile::splitKeyLine(const QString& line, QString* key, QString* value) {
    const QString trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char(';')) || isSectionHeader(trimmed))
        return false;
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0)
        return false;
    if (key)
        *key = line.left(eq).trimmed();
    if (value)
        *value = line.mid(eq + 1).trimmed();
    return true;
}

const TIniFile::Section* TIniFile::findSection(const QString& section) const {
    const auto it = m_sections.constFind(folded(section));
    return it == m_sections.constEnd() ? nullptr : &it.value();
}

int TIniFile::findKey(const Section* section, const QString& key) const {
    return section ? section->keys.value(folded(key), -1) : -1;
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
    const int line = findKey(findSection(section), key);
    if (line < 0)
        return def.left(MaxValueLength);
    QString value;
    splitKeyLine(m_lines.at(line), nullptr, &value);
    return value.left(MaxValueLength);
}

bool TIniFile::ParseInteger(const QString& text, int& value) {
    QString t = text;
    bool negative = false;
    if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) {
        negative = t.startsWith(QLatin1Char('-'));
        t.remove(0, 1);
    }
    bool ok = false;
    qint64 magnitude = 0;
    if (t.startsWith(QLatin1Char('$')) || t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        const QString digits = t.mid(t.startsWith(QLatin1Char('$')) ? 1 : 2);
        if (digits.isEmpty() || digits.size() > 8)
            return false;
        for (QChar c : digits) {
            if (c.unicode() > 127 || !isxdigit(c.unicode()))
                return false;
        }
        // Hexadecimal texts cover the full 32-bit pattern: $FFFFFFFF is -1.
        const quint32 bits = digits.toUInt(&ok, 16);
        if (!ok)
            return false;
        qint32 v = static_cast<qint32>(bits);
        value = negative ? -v : v;
        return true;
    }
    if (t.isEmpty())
        return false;
    for (QChar c : t) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    magnitude = t.toLongLong(&ok);
    if (!ok)
        return false;
    const qint64 v = negative ? -magnitude : magnitude;
    if (v < INT32_MIN || v > INT32_MAX)
        return false;
    value = int(v);
    return true;
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int def) const {
    int value = def;
    if (!ParseInteger(ReadString(section, key, QString()), value))
        return def;
    return value;
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

bool TIniFile::SectionExists(const QString& section) const {
    return findSection(section) != nullptr;
}

bool TIniFile::ValueExists(const QString& section, const QString& key) const {
    return findKey(findSection(section), key) >= 0;
}

QStringList TIniFile::ReadSection(const QString& section) const {
    QStringList keys;
    const Section* range = findSection(section);
    if (!range)
        return keys;
    QString name;
    for (int i = range->header + 1; i < range->end; ++i) {
        if (splitKeyLine(m_lines.at(i), &name, nullptr) && !name.isEmpty())
            keys << name;
    }
    return keys;
}

QList<QPair<QString, QString>> TIniFile::ReadSectionValues(const QString& section) const {
    QList<QPair<QString, QString>> pairs;
    for (const QString& key : ReadSection(section))
        pairs.append({key, ReadString(section, key, QString())});
    return pairs;
}

QStringList TIniFile::ReadSections() const {
    QStringList names;
    for (const QString& line : m_lines) {
        const QString trimmed = line.trimmed();
        if (isSectionHeader(trimmed))
            names << sectionName(trimmed);
    }
    return names;
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    const QString k = key.trimmed();
    // A value is one line: a line break inside it (a folder name may hold one) would start a
    // line of its own and could read as another key or section. It is written as a blank.
    QString v = value;
    v.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    v = v.trimmed();
    const Section* range = findSection(section);
    if (!range) {
        m_lines << QLatin1Char('[') + section.trimmed() + QLatin1Char(']');
        m_lines << k + QLatin1Char('=') + v;
        buildIndex();
        return;
    }
    const int line = findKey(range, k);
    if (line >= 0) {
        // The key's place and name stay as they are: the index does not change.
        const QString& old = m_lines.at(line);
        m_lines[line] = old.left(old.indexOf(QLatin1Char('=')) + 1) + v;
        return;
    }
    int insertAt = range->header + 1;
    for (int i = range->header + 1; i < range->end; ++i) {
        if (splitKeyLine(m_lines.at(i), nullptr, nullptr))
            insertAt = i + 1;
    }
    m_lines.insert(insertAt, k + QLatin1Char('=') + v);
    buildIndex();
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value) {
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QString TIniFile::Text() const {
    QString text;
    for (const QString& line : m_lines)
        text += line + m_lineEnd;
    return text;
}

void TIniFile::UpdateFile() {
    if (!ReplaceFileContents(m_fileName, Text().toUtf8()))
        throw EVaridError(QStringLiteral("Unable to write to %1").arg(m_fileName));
    m_existed = true;
}
