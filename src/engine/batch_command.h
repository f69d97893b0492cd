#pragma once
// The engine command line of one file, and the AviSynth script some sources go through.
#include <QString>
#include <QStringList>

// The engine's access code, passed after "-p".
inline const QString EngineAccessCode = QStringLiteral("4170352");

// The output path of a source: the output folder (blanks trimmed; relative to the program folder
// when relative) + the source's file name with its extension replaced by outputExtension.
QString EngineOutputPath(const QString& outputFolder, const QString& source, const QString& outputExtension);

// The options text with the two fixed patches: six AC3 channels without an audio bit rate get
// "-ab 256", and the huffYUV codec gets "-strict -2".
QString PatchEngineOptions(const QString& optionsText);

// The whole command line: the engine path (quoted when it holds a blank), "-p" and the access
// code, "-i" and the quoted input, the options text, the quoted output. Every path is quoted by
// the rules the process runner splits by, so that any file name reaches the engine as one
// argument.
QString EngineCommandLine(const QString& enginePath, const QString& input, const QString& optionsText,
                          const QString& output);

// Whether a source goes to the engine through the AviSynth script: always when useDirectShow is
// set, else when its extension (with its dot, letter case included) is one of avsExtensions.
bool UsesAvsScript(const QString& source, bool useDirectShow, const QStringList& avsExtensions);
// A script name of its own for each file converted: LangsDir + "DirectShow-<process>-<n>.avs",
// so that two batches at once (two windows, a window and the terminal) never share a script.
QString NewAvsScriptFileName();
// The template of the scripts.
QString AvsTemplateFileName();
// Writes the script for a source to scriptName from the template ("<%InputFile%>" in any letter
// case becomes the source path; lines end in CR LF). The script is created new: whatever had its
// name (a file or link left by an ended process) is removed first and never written through.
// Throws EVaridError when the template cannot be read or the script cannot be written.
void WriteAvsScript(const QString& source, const QString& scriptName);
// Deletes a script; a missing script or an empty name is no error.
void DeleteAvsScript(const QString& scriptName);
// Deletes the scripts that processes which have ended left in LangsDir (one killed during a
// file cannot delete its own).
void DeleteStaleAvsScripts();
