#pragma once
// A throwaway program folder with the English profile root, for profile and builder tests.
#include "app/options.h"
#include "app/paths.h"
#include "lang/strings.h"
#include "profiles/catalogue.h"
#include "profiles/keytable.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <ostream>

// Readable failure messages for Qt texts.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QByteArray& bytes, std::ostream* os) {
    *os << '"' << bytes.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* os) {
    *os << '[' << list.join(QStringLiteral(", ")).toStdString() << ']';
}

inline QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ProfileFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        ResetStringTable();
        InitPathsFor(m_dir.path());
        Options = TOptions();
        InitProfileFolders();
        ASSERT_TRUE(CreateProfileFolders());
    }

    QString ProgramDir() const { return m_dir.path() + QLatin1Char('/'); }

    // Writes a profile file of a format from raw text and returns its path.
    QString WriteProfile(int formatIndex, const QString& name, const QByteArray& text) const {
        const QString path = ProfileFileName(formatIndex, name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }

  private:
    QTemporaryDir m_dir;
};

template <class R> R DefaultRecord() {
    R record;
    DefaultSettings(record);
    return record;
}

// Whether two records hold the same value in every field that has a key.
template <class R> bool SameFields(R& a, R& b) {
    for (const TKeyDef<R>& key : KeyTable<R>()) {
        const bool same = std::visit(
            [&](auto* fieldA) {
                using P = decltype(fieldA);
                return *fieldA == *std::get<P>(key.Field(b));
            },
            key.Field(a));
        if (!same)
            return false;
    }
    return true;
}
