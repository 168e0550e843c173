#include "app/panels/DrawsPanel.h"

#include "app/UiFont.h"

#include <QLabel>

namespace quenmar::app {

DrawsPanel::DrawsPanel(QWidget* parent) : QWidget(parent) {
    m_refresh = new RefreshButton(this);
    connect(m_refresh, &QAbstractButton::clicked, this, &DrawsPanel::refreshClicked);
}

void DrawsPanel::showLatestDraw(int kind, const QString& numbersText, const QString& dateText,
                                const QString& issueText, const QFont& font) {
    const QSize cell = textExtent(font, QStringLiteral("款"));
    const auto layout =
        draws::layoutLatestDraw(kind, numbersText.toStdString(), dateText.toStdString(),
                                issueText.toStdString(), draws::CharCell{cell.width(), cell.height()});
    if (layout) {
        apply(*layout, font);
    }
}

void DrawsPanel::showPlaceholder(const QFont& font) {
    const QSize cell = textExtent(font, QStringLiteral("款"));
    apply(draws::layoutPlaceholder(draws::CharCell{cell.width(), cell.height()}), font);
}

void DrawsPanel::apply(const draws::DrawsPanelLayout& layout, const QFont& font) {
    qDeleteAll(m_lineLabels);
    qDeleteAll(m_numberLabels);
    m_lineLabels.clear();
    m_numberLabels.clear();
    const auto make = [&](const draws::PanelLabel& description, QList<QLabel*>& into, const QString& name) {
        auto* label = new QLabel(QString::fromStdString(description.text), this);
        label->setObjectName(name);
        label->setFont(font);
        label->setGeometry(description.rect.x, description.rect.y, description.rect.width,
                           description.rect.height);
        if (description.colour) {
            label->setStyleSheet(QStringLiteral("color: rgb(%1, %2, %3);")
                                     .arg(description.colour->red)
                                     .arg(description.colour->green)
                                     .arg(description.colour->blue));
        }
        label->show();
        into.append(label);
    };
    for (qsizetype i = 0; i < static_cast<qsizetype>(layout.lineLabels.size()); ++i) {
        make(layout.lineLabels[static_cast<std::size_t>(i)], m_lineLabels,
             QStringLiteral("drawLine%1").arg(i));
    }
    for (qsizetype i = 0; i < static_cast<qsizetype>(layout.numberLabels.size()); ++i) {
        make(layout.numberLabels[static_cast<std::size_t>(i)], m_numberLabels,
             QStringLiteral("drawNumber%1").arg(i));
    }
    m_refresh->setGeometry(layout.refreshButton.x, layout.refreshButton.y, layout.refreshButton.width,
                           layout.refreshButton.height);
    m_refresh->raise();
    resize(layout.width, layout.height);
}

} // namespace quenmar::app
