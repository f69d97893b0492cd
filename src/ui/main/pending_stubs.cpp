// Stand-ins for the output chooser and the batch window until their real windows are merged.
#include "engine/batch_driver.h"
#include "sources/sourcelist.h"
#include "ui/chooser/convertwnd.h"
#include "ui/main/batchwindow.h"

#include <QDir>
#include <QLineEdit>
#include <QVBoxLayout>

struct TfrmConvert::Impl {
    QLineEdit* folder = nullptr;
};

TfrmConvert::TfrmConvert(QWidget* owner) : QWidget(owner, Qt::Window), d(new Impl) {
    setObjectName(QStringLiteral("frmConvert"));
    setWindowTitle(QStringLiteral("Output Setting"));
    auto* layout = new QVBoxLayout(this);
    d->folder = new QLineEdit(Options.LastOutputOpenDir, this);
    d->folder->setObjectName(QStringLiteral("txtOutputDir"));
    d->folder->setAccessibleName(QStringLiteral("Output Directory:"));
    layout->addWidget(d->folder);
}

TfrmConvert::~TfrmConvert() {
    delete d;
}

int TfrmConvert::CurrentFormat() const {
    return Options.OutputFormat;
}

QString TfrmConvert::CurrentProfile() const {
    return {};
}

QString TfrmConvert::OutputFolderText() const {
    return d->folder->text();
}

bool TfrmConvert::CheckOutputFolder() {
    return false;
}

QString TfrmConvert::GetProfileOptions() const {
    return {};
}

void TfrmConvert::ApplyCaptions() {}

struct TBatchWindow::Impl {};

TBatchWindow::TBatchWindow(QWidget* owner, TSourceList&) : QObject(owner), m_impl(std::make_unique<Impl>()) {}

TBatchWindow::~TBatchWindow() = default;

bool TBatchWindow::Convert(const TBatchSettings&) {
    return false;
}

bool TBatchWindow::Running() const {
    return false;
}

void TBatchWindow::ApplyCaptions() {}
