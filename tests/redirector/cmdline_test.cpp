#include "recorder.h"

#include <gtest/gtest.h>

TEST(CommandLine, SplitsByTheWindowsRules) {
    struct Case {
        const char* line;
        QStringList arguments;
    };
    const Case cases[] = {
        {"", {}},
        {"  a  b\tc  ", {"a", "b", "c"}},
        {R"("a b" c)", {"a b", "c"}},
        {R"(a"b c"d)", {"ab cd"}},
        {R"("" x "")", {"", "x", ""}},
        {R"(a\b\\c\)", {R"(a\b\\c\)"}},                 // backslashes not before a quote are literal
        {R"(a\"b)", {R"(a"b)"}},                        // 1 backslash + quote: literal quote
        {R"(a\\"b c")", {R"(a\b c)"}},                  // 2 backslashes + quote: one backslash, group
        {R"(a\\\"b)", {R"(a\"b)"}},                     // 3 backslashes + quote
        {R"("c:\dir\\" next)", {R"(c:\dir\)", "next"}}, // trailing backslashes doubled in a group
        {R"("say ""hi""" x)", {R"(say "hi")", "x"}},    // "" inside a group is a literal quote
        {R"("open group)", {"open group"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitCommandLine(QString::fromUtf8(c.line)), c.arguments) << c.line;
}

namespace {

// File names that break naive quoting or a shell.
const QStringList NastyNames = {
    QStringLiteral("plain.avi"),
    QStringLiteral("/media/my clips/holiday 2024.mp4"),
    QStringLiteral("quo\"te\".avi"),
    QStringLiteral("\"\""),
    QStringLiteral("$HOME and ${PATH}.avi"),
    QStringLiteral("`rm -rf x` $(id).avi"),
    QStringLiteral("-i"),
    QStringLiteral("--output=x"),
    QStringLiteral("trailing\\"),
    QStringLiteral("two trailing\\\\"),
    QStringLiteral("back\\\"slash\\\\\"quote"),
    QStringLiteral("tab\there"),
    QStringLiteral("new\nline"),
    QStringLiteral("semi;colon & pipe | <in >out *?[glob] 'single'"),
    QStringLiteral("percent %1 %PATH%"),
    QStringLiteral(" lead and trail "),
    QStringLiteral(""),
    QString::fromUtf8("Ünïcødé 日本語 ñ.mkv"),
};

} // namespace

TEST(CommandLine, QuotedArgumentsSplitBackUnchanged) {
    for (const QString& name : NastyNames)
        EXPECT_EQ(SplitCommandLine(QuoteArgument(name)), QStringList{name}) << name.toStdString();
    EXPECT_EQ(SplitCommandLine(JoinCommandLine(NastyNames)), NastyNames);
}

TEST(CommandLine, RealChildReceivesEveryArgumentUnchanged) {
    TRecorder rec;
    rec.runner->SetCommandLine(JoinCommandLine(QStringList{TestBin("print_args")} + NastyNames));
    rec.runner->Execute();
    ASSERT_TRUE(rec.WaitForEnd());
    QByteArray out = rec.Bytes(TEvent::Out);
    ASSERT_TRUE(out.endsWith('\0'));
    out.chop(1);
    QStringList received;
    for (const QByteArray& argument : out.split('\0'))
        received << QString::fromUtf8(argument);
    EXPECT_EQ(received, NastyNames);
}
