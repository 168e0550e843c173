#include "app/UpdateWin.h"

#include "app/MessageBox.h"
#include "app/UiFont.h"
#include "update/Installer.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace quenmar::app {

UpdateWin::UpdateWin(update::UpdateOffer offer, support::HttpOptions downloadOptions,
                     std::function<void()> endProgram, QWidget* parent)
    : QDialog(parent), m_model(std::move(offer)), m_downloadOptions(std::move(downloadOptions)),
      m_endProgram(std::move(endProgram)) {
    setObjectName(QStringLiteral("updateWin"));
    setWindowTitle(QString::fromUtf8(update::kUpdateWindowCaption));
    const QSize cell = textExtent(font(), QStringLiteral("框"));

    auto* layout = new QVBoxLayout(this);
    const std::vector<std::string> lines = m_model.lines();
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        m_lines[i] = new QLabel(QString::fromStdString(lines[i]), this);
        m_lines[i]->setObjectName(QStringLiteral("updateLine%1").arg(i));
        layout->addWidget(m_lines[i]);
    }
    m_notes = new QPlainTextEdit(QString::fromStdString(lines[5]), this);
    m_notes->setObjectName(QStringLiteral("releaseNotes"));
    m_notes->setReadOnly(true);
    m_notes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_notes->setFixedHeight(cell.height() * 8 + 12); // eight text lines
    layout->addWidget(m_notes);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("downloadProgress"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    layout->addWidget(m_progress);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("updateStatus"));
    layout->addWidget(m_status);

    auto* buttons = new QHBoxLayout;
    m_later = new QPushButton(QString::fromUtf8(update::kLaterCaption), this);
    m_later->setObjectName(QStringLiteral("laterButton"));
    m_action = new QPushButton(this);
    m_action->setObjectName(QStringLiteral("actionButton"));
    buttons->addStretch();
    buttons->addWidget(m_later);
    buttons->addWidget(m_action);
    buttons->addStretch();
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize); // the window's height follows its content
    setMinimumWidth(cell.width() * 30);

    connect(m_later, &QPushButton::clicked, this, [this] {
        m_closingWithoutQuestion = true;
        close();
    });
    connect(m_action, &QPushButton::clicked, this, &UpdateWin::onAction);
    // A package install only tells of the release: nothing to download or install here.
    m_action->setVisible(m_model.offersDownload());
    m_progress->setVisible(m_model.offersDownload());
    refresh();
}

UpdateWin::~UpdateWin() {
    // No worker may report to a window that is gone: stop it and wait for it first.
    m_download.cancel();
    m_download.wait();
}

void UpdateWin::refresh() {
    m_action->setText(QString::fromUtf8(m_model.actionCaption()));
    m_action->setEnabled(m_model.buttonsEnabled());
    m_later->setEnabled(m_model.buttonsEnabled());
    m_progress->setValue(m_model.progress());
    m_status->setText(QString::fromStdString(m_model.statusText()));
}

void UpdateWin::onAction() {
    switch (m_model.actionClicked()) {
    case update::UpdateWindowModel::Action::StartDownload: {
        refresh();
        const update::UpdateOffer& offer = m_model.offer();
        QPointer<UpdateWin> self(this);
        const bool started = m_download.start(
            offer.downloadUrl, offer.installerPath, m_downloadOptions,
            [self](int percent, const std::string& status) {
                QMetaObject::invokeMethod(
                    self,
                    [self, percent, status] {
                        if (self) {
                            self->m_model.downloadProgressed(percent, status);
                            self->refresh();
                        }
                    },
                    Qt::QueuedConnection);
            },
            [self](bool downloaded) {
                QMetaObject::invokeMethod(
                    self,
                    [self, downloaded] {
                        if (self) {
                            self->m_download.wait();
                            self->m_model.downloadFinished(downloaded);
                            self->refresh();
                        }
                    },
                    Qt::QueuedConnection);
            });
        if (!started) {
            m_model.downloadFinished(false);
            refresh();
        }
        break;
    }
    case update::UpdateWindowModel::Action::Install: {
        refresh();
        const update::UpdateOffer& offer = m_model.offer();
        m_model.installFinished(update::installUpdate(offer.md5, offer.installerPath));
        refresh();
        if (m_model.shouldEndProgram() && m_endProgram) {
            m_closingWithoutQuestion = true;
            close();
            m_endProgram();
        }
        break;
    }
    case update::UpdateWindowModel::Action::None:
        break;
    }
}

void UpdateWin::closeEvent(QCloseEvent* event) {
    if (!m_closingWithoutQuestion && m_model.closeNeedsQuestion() &&
        !MessageBox::ask(this, QString::fromUtf8(update::kQuestionCaption),
                         QString::fromUtf8(update::kCloseQuestion))) {
        event->ignore();
        return;
    }
    m_closingWithoutQuestion = false;
    m_download.cancel();
    event->accept();
}

} // namespace quenmar::app
