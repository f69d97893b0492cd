#include "ui/toolkit_language.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace {

std::unique_ptr<QTranslator>& installed() {
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

} // namespace

QLocale::Language LanguageOfFile(const QString& languageFile) {
    const QString name = QFileInfo(languageFile).completeBaseName();
    for (int i = QLocale::C + 1; i <= QLocale::LastLanguage; ++i) {
        const auto language = static_cast<QLocale::Language>(i);
        if (QLocale::languageToString(language).compare(name, Qt::CaseInsensitive) == 0)
            return language;
    }
    return QLocale::C;
}

bool ApplyToolkitLanguage(const QString& languageFile) {
    std::unique_ptr<QTranslator>& current = installed();
    if (current) {
        QCoreApplication::removeTranslator(current.get());
        current.reset();
    }
    const QLocale::Language language = LanguageOfFile(languageFile);
    if (language == QLocale::C || language == QLocale::English)
        return false;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QLocale(language), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(translator.get());
    current = std::move(translator);
    return true;
}
