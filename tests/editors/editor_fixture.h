#pragma once
// Editor models over the current settings records, in a throwaway program folder that holds the
// shipped profiles.
#include "app/inifile.h"
#include "app/options.h"
#include "lang/strings.h"
#include "profiles/catalogue.h"
#include "profiles/editor/editorbuilder.h"
#include "support/program_folder.h"

#include <QString>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

class EditorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetStringTable();
        ASSERT_TRUE(folder.isValid());
        Options = TOptions();
        InitProfileFolders();
    }

    // The model of a format's editor over its shipped Default profile, loaded and shown.
    std::unique_ptr<TEditorModel> Open(int format, const std::map<QString, QString>& changes = {}) {
        const QString file = ProfileFileName(format, QStringLiteral("Default"));
        if (!changes.empty()) {
            TIniFile ini(file);
            for (const auto& [key, value] : changes)
                ini.WriteString(QStringLiteral("General"), key, value);
            ini.UpdateFile();
        }
        FormatInfo(format)->Load(file);
        auto model = BuildEditorModel(format);
        model->ProfileToControls();
        model->Show();
        return model;
    }

    // Stores the controls and saves the record; the key values of the written file.
    std::map<QString, QString> Save(TEditorModel& model, int format) {
        model.ControlsToProfile();
        const QString file = folder.file(QStringLiteral("saved.ini"));
        QFile::remove(file);
        FormatInfo(format)->Save(file);
        return Values(file);
    }

    static std::map<QString, QString> Values(const QString& file) {
        std::map<QString, QString> values;
        for (const auto& [key, value] : TIniFile(file).ReadSectionValues(QStringLiteral("General")))
            values[key] = value;
        return values;
    }

    TProgramFolder folder;
};
