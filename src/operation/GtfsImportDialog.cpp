#include "operation/GtfsImportDialog.h"

#include "extlib/KobuRes.h"
#include "operation/ImportFolder.h"
#include "operation/ImportTask.h"
#include "operation/RouteTableModel.h"
#include "operation/RouteTableView.h"
#include "platform/MessageBox.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace fareboard {
namespace {

// Often enough that the bar is seen to move, seldom enough to cost the painting nothing.
constexpr int kProgressTickMs = 100;

QString dateText(const QDate& d)
{
    return d.toString(QStringLiteral("yyyy年MM月dd日"));
}

QPushButton* button(QWidget* parent, const char* name, const QString& text)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

GtfsImportDialog::GtfsImportDialog(Services services, QWidget* parent)
    : QDialog(parent), services_(std::move(services)), task_(new ImportTask(this)), ticker_(new QTimer(this))
{
    setObjectName(QStringLiteral("frmGtfsImport"));
    setWindowTitle(QStringLiteral("GTFS-JPから取り込む"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    build();
    ticker_->setInterval(kProgressTickMs);
    connect(ticker_, &QTimer::timeout, this, &GtfsImportDialog::showProgress);
    updateButtons();
}

GtfsImportDialog::~GtfsImportDialog()
{
    // The work reads the listing; it ends before the listing goes.
    delete task_;
}

void GtfsImportDialog::build()
{
    auto* layout = new QVBoxLayout(this);

    auto* feedRow = new QHBoxLayout;
    feedRow->addWidget(new QLabel(QStringLiteral("フィード："), this));
    path_ = new QLineEdit(this);
    path_->setObjectName(QStringLiteral("txtFeedPath"));
    path_->setPlaceholderText(QStringLiteral("GTFS-JPの .zip ファイルか、その中身のフォルダー"));
    connect(path_, &QLineEdit::returnPressed, this, [this] { openFeed(path_->text().trimmed()); });
    feedRow->addWidget(path_, 1);
    chooseFile_ = button(this, "cmdChooseZip", QStringLiteral("ZIPファイル..."));
    chooseFolder_ = button(this, "cmdChooseFolder", QStringLiteral("フォルダー..."));
    connect(chooseFile_, &QPushButton::clicked, this, &GtfsImportDialog::chooseFile);
    connect(chooseFolder_, &QPushButton::clicked, this, &GtfsImportDialog::chooseFolder);
    feedRow->addWidget(chooseFile_);
    feedRow->addWidget(chooseFolder_);
    layout->addLayout(feedRow);

    operator_ = new QLabel(this);
    operator_->setObjectName(QStringLiteral("lblOperator"));
    validity_ = new QLabel(this);
    validity_->setObjectName(QStringLiteral("lblValidity"));
    validity_->setWordWrap(true);
    layout->addWidget(operator_);
    layout->addWidget(validity_);

    patterns_ = new RouteTableView(true, QStringLiteral("tblPatterns"), this);
    layout->addWidget(patterns_, 1);

    auto* choiceRow = new QHBoxLayout;
    all_ = button(this, "cmdCheckAll", QStringLiteral("すべて選択"));
    none_ = button(this, "cmdCheckNone", QStringLiteral("すべて解除"));
    all_->setToolTip(QStringLiteral("表示している系統をすべて取り込む対象にします"));
    none_->setToolTip(QStringLiteral("表示している系統をすべて対象から外します"));
    connect(all_, &QPushButton::clicked, this, [this] { checkShown(true); });
    connect(none_, &QPushButton::clicked, this, [this] { checkShown(false); });
    chosen_ = new QLabel(this);
    chosen_->setObjectName(QStringLiteral("lblChosen"));
    choiceRow->addWidget(all_);
    choiceRow->addWidget(none_);
    choiceRow->addWidget(chosen_, 1);
    layout->addLayout(choiceRow);
    connect(model(), &RouteTableModel::checkedChanged, this, &GtfsImportDialog::updateButtons);

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("barProgress"));
    progress_->setRange(0, 1000);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("lblStatus"));
    status_->setWordWrap(true);
    layout->addWidget(progress_);
    layout->addWidget(status_);

    warnings_ = new QListWidget(this);
    warnings_->setObjectName(QStringLiteral("lstWarnings"));
    warnings_->setMaximumHeight(110);
    warnings_->hide();
    layout->addWidget(warnings_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    import_ = button(this, "cmdImport", QStringLiteral("取り込む"));
    // Enter imports what is chosen, as the dialog's main step.
    import_->setDefault(true);
    cancel_ = button(this, "cmdCancel", QStringLiteral("中止"));
    close_ = button(this, "cmdClose", QStringLiteral("閉じる"));
    connect(import_, &QPushButton::clicked, this, &GtfsImportDialog::importChecked);
    connect(cancel_, &QPushButton::clicked, this, [this] {
        task_->cancel();
        status_->setText(QStringLiteral("中止しています..."));
    });
    connect(close_, &QPushButton::clicked, this, &GtfsImportDialog::close);
    buttons->addWidget(import_);
    buttons->addWidget(cancel_);
    buttons->addWidget(close_);
    layout->addLayout(buttons);
}

QLineEdit* GtfsImportDialog::filter() const
{
    return patterns_->filter();
}

QTableView* GtfsImportDialog::table() const
{
    return patterns_->table();
}

RouteTableModel* GtfsImportDialog::model() const
{
    return patterns_->model();
}

bool GtfsImportDialog::busy() const
{
    return task_->running();
}

QString GtfsImportDialog::validityText(const QDate& from, const QDate& to, const QDate& today, bool fromCalendar)
{
    if (!from.isValid() && !to.isValid())
        return QStringLiteral("有効期間：フィードに記載がありません");
    QString text = QStringLiteral("有効期間：") + (from.isValid() ? dateText(from) : QString()) + QStringLiteral("～") +
                   (to.isValid() ? dateText(to) : QString());
    if (fromCalendar)
        text += QStringLiteral("（運行日のカレンダーから）");
    if (expired(to, today))
        text += QStringLiteral("　このデータの有効期間は終わっています。今のダイヤや運賃とは違うかもしれません（取り込むことはできます）。");
    else if (from.isValid() && today < from)
        text += QStringLiteral("　このデータはまだ有効期間の前です。");
    return text;
}

void GtfsImportDialog::chooseFile()
{
    const QString zip = QStringLiteral("GTFS-JP(*.zip)") + QChar(0) + QStringLiteral("*.zip") + QChar(0) +
                        QStringLiteral("すべてのファイル(*.*)") + QChar(0) + QStringLiteral("*") + QChar(0) + QChar(0);
    const QString path = services_.library.TmlFileDlg(this, 0, zip, QString(), QStringLiteral("GTFS-JPファイルの選択"));
    if (!path.isEmpty())
        openFeed(path);
}

void GtfsImportDialog::chooseFolder()
{
    const QString path = services_.library.TmlFolderDlgAt(this, QStringLiteral("GTFS-JPのフォルダーを選択してください"), path_->text());
    if (!path.isEmpty())
        openFeed(path);
}

void GtfsImportDialog::openFeed(const QString& path)
{
    if (busy() || path.isEmpty())
        return;
    path_->setText(path);
    setWindowTitle(QStringLiteral("GTFS-JPから取り込む"));
    listing_.reset();
    model()->setRows({});
    operator_->clear();
    validity_->clear();
    warnings_->clear();
    warnings_->hide();
    auto holder = std::make_shared<std::unique_ptr<FeedListing>>();
    FeedImporter& importer = services_.importer;
    connect(task_, &ImportTask::finished, this,
            [this, holder](ImportTask::Outcome outcome, const ImportFault& fault) {
                reading_ = std::move(*holder);
                listed(int(outcome), fault);
            },
            Qt::SingleShotConnection);
    task_->start([&importer, path, holder](ImportProgress& p) { *holder = importer.list(path, p); });
    setBusy(true, QStringLiteral("フィードを読んでいます..."));
}

void GtfsImportDialog::listed(int outcome, const ImportFault& fault)
{
    setBusy(false, QString());
    if (outcome == int(ImportTask::Outcome::Cancelled)) {
        status_->setText(QStringLiteral("読み込みを中止しました。"));
        return;
    }
    if (outcome == int(ImportTask::Outcome::Failed) || !reading_) {
        status_->setText(QStringLiteral("このフィードは取り込めません。"));
        showFault(fault);
        return;
    }
    listing_ = std::move(reading_);
    const QDate today = services_.today ? services_.today() : QDate::currentDate();
    // The title names the operator, which is also how a window list tells the feed read.
    if (!listing_->agencyName.isEmpty())
        setWindowTitle(QStringLiteral("GTFS-JPから取り込む - ") + listing_->agencyName);
    operator_->setText(QStringLiteral("事業者：") +
                       (listing_->agencyName.isEmpty() ? QStringLiteral("（記載なし）") : listing_->agencyName));
    validity_->setText(validityText(listing_->validFrom, listing_->validTo, today, listing_->validityFromCalendar));
    validity_->setStyleSheet(expired(listing_->validTo, today) ? QStringLiteral("color: #c00000; font-weight: bold;")
                                                               : QString());
    patterns_->setRows(listing_->patterns);
    status_->setText(QStringLiteral("取り込む系統を選んで「取り込む」を押してください。取り込み先：") +
                     importFolderFor(services_.routesHome, listing_->agencyName));
    progress_->setValue(0);
    updateButtons();
    patterns_->table()->setFocus();
}

void GtfsImportDialog::checkShown(bool checked)
{
    model()->setChecked(patterns_->shownRows(), checked);
}

void GtfsImportDialog::importChecked()
{
    if (busy() || !listing_)
        return;
    const std::vector<int> numbers = model()->checkedNumbers();
    if (numbers.empty())
        return;
    const QString target = importFolderFor(services_.routesHome, listing_->agencyName);
    const QString staging = makeStagingFolder(target);
    if (staging.isEmpty()) {
        showFault({target, 0, QStringLiteral("cannot make the folder")});
        return;
    }
    warnings_->clear();
    warnings_->hide();
    auto report = std::make_shared<ImportReport>();
    report_ = report;
    FeedListing* listing = listing_.get();
    connect(task_, &ImportTask::finished, this,
            [this, target](ImportTask::Outcome outcome, const ImportFault& fault) { importDone(int(outcome), fault, target); },
            Qt::SingleShotConnection);
    // All of the file work is the worker's, the swap and the removal of the old import too:
    // a folder of thousands of files takes a while to remove.
    task_->start([listing, numbers, staging, target, report](ImportProgress& p) {
        try {
            *report = listing->import(numbers, staging, p);
            if (p.cancelRequested)
                throw ImportCancelled{};
            if (const QString why = replaceFolder(staging, target); !why.isEmpty())
                throw ImportFault{target, 0, QStringLiteral("cannot put the import in place: %1").arg(why)};
        } catch (...) {
            removeStagingFolder(staging);
            throw;
        }
    });
    setBusy(true, QStringLiteral("取り込んでいます..."));
}

void GtfsImportDialog::importDone(int outcome, const ImportFault& fault, const QString& target)
{
    setBusy(false, QString());
    if (outcome == int(ImportTask::Outcome::Cancelled)) {
        progress_->setValue(0);
        status_->setText(QStringLiteral("取り込みを中止しました。何も書き込んでいません。"));
        return;
    }
    if (outcome == int(ImportTask::Outcome::Failed)) {
        status_->setText(QStringLiteral("取り込めませんでした。何も書き込んでいません。"));
        showFault(fault);
        return;
    }
    progress_->setValue(progress_->maximum());
    status_->setText(QStringLiteral("%1 系統を取り込みました：%2").arg(report_->imported).arg(target));
    if (!report_->warnings.isEmpty()) {
        warnings_->addItem(QStringLiteral("警告 %1 件：").arg(report_->warnings.size()));
        warnings_->addItems(report_->warnings);
        warnings_->show();
    }
    emit imported(target);
}

void GtfsImportDialog::showProgress()
{
    const ImportProgress& p = task_->progress();
    if (p.cancelRequested)
        return;
    const qint64 total = p.total, done = p.done;
    if (total <= 0) {
        progress_->setRange(0, 0);
    } else {
        progress_->setRange(0, 1000);
        progress_->setValue(int(std::min<qint64>(1000, done * 1000 / total)));
    }
    static const char16_t* const stages[] = {u"読み込み中", u"変換中", u"書き込み中"};
    const int stage = std::clamp(p.stage.load(), 0, 2);
    status_->setText(busyWhat_ + QStringLiteral("（") + QString::fromUtf16(stages[stage]) + QStringLiteral("）"));
}

void GtfsImportDialog::setBusy(bool busy, const QString& what)
{
    busyWhat_ = what;
    if (busy) {
        progress_->setRange(0, 1000);
        progress_->setValue(0);
        status_->setText(what);
        ticker_->start();
    } else {
        ticker_->stop();
        progress_->setRange(0, 1000);
    }
    updateButtons();
}

void GtfsImportDialog::showFault(const ImportFault& fault)
{
    const QString where = fault.file.isEmpty() ? fault.what : fault.message();
    services_.messageBox.show(QStringLiteral("取り込めませんでした。何も書き込んでいません。\r\n\r\n") + where, services_.title,
                              MessageBox::Icon::Critical, MessageBox::Buttons::Ok);
}

void GtfsImportDialog::updateButtons()
{
    const bool working = busy();
    const std::size_t checked = model()->checkedNumbers().size();
    std::size_t importable = 0;
    for (const RouteRow& r : model()->rows())
        importable += r.refused.isEmpty();
    chooseFile_->setEnabled(!working);
    chooseFolder_->setEnabled(!working);
    path_->setReadOnly(working);
    all_->setEnabled(!working && importable > 0);
    none_->setEnabled(!working && importable > 0);
    import_->setEnabled(!working && listing_ && checked > 0);
    cancel_->setEnabled(working);
    chosen_->setText(model()->rows().empty() ? QString()
                                            : QStringLiteral("%1 / %2 系統を選択").arg(checked).arg(importable));
}

void GtfsImportDialog::closeEvent(QCloseEvent* event)
{
    // Closing is a cancel: the work stops at its next look and removes what it began.
    if (busy())
        task_->cancel();
    QDialog::closeEvent(event);
}

void GtfsImportDialog::reject()
{
    if (busy())
        task_->cancel();
    QDialog::reject();
}

}  // namespace fareboard
