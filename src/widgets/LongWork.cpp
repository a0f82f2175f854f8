#include "widgets/LongWork.h"

#include <QApplication>
#include <QProgressDialog>

namespace {
constexpr qint64 kUpdateMs = 50;
int nextCancelAfter = -1;
} // namespace

LongWork::LongWork(QWidget* parent, const QString& labelText, qint64 total)
    : cancelAfter_(std::exchange(nextCancelAfter, -1))
{
    dialog_ = new QProgressDialog(labelText, QStringLiteral("Cancel"), 0, 1000, parent);
    dialog_->setObjectName(QStringLiteral("LongWork"));
    dialog_->setWindowTitle(QApplication::applicationDisplayName());
    dialog_->setWindowModality(Qt::ApplicationModal);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    dialog_->setMinimumDuration(0);
    dialog_->setAccessibleName(labelText);
    QObject::connect(dialog_, &QProgressDialog::canceled, [this] { cancelled_ = true; });
    update(0, total);
    dialog_->show();
    hourglass_.emplace();
    QApplication::processEvents();
    sinceUpdate_.start();
}

LongWork::~LongWork()
{
    hourglass_.reset();
    delete dialog_;
}

void LongWork::cancelNextAfter(int n)
{
    nextCancelAfter = n;
}

Progress LongWork::progress()
{
    return [this](qint64 done, qint64 total) { return report(done, total); };
}

bool LongWork::report(qint64 done, qint64 total)
{
    if (cancelAfter_ >= 0 && ++reports_ > cancelAfter_)
        cancelled_ = true;
    if (!cancelled_ && sinceUpdate_.elapsed() >= kUpdateMs) {
        update(done, total);
        QApplication::processEvents();
        sinceUpdate_.restart();
    }
    return !cancelled_;
}

void LongWork::update(qint64 done, qint64 total)
{
    if (!dialog_)
        return;
    // The dialog counts in thousandths, so totals beyond the range of int are no trouble.
    const int value = total > 0 ? int(qBound<qint64>(qint64(0), done * 1000 / total, qint64(1000))) : 0;
    dialog_->setValue(value);
    if (total > 0)
        dialog_->setLabelText(
            dialog_->labelText().section(QLatin1Char('\n'), 0, 0) + QStringLiteral("\n%1 of %2").arg(done).arg(total));
}
