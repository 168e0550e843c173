#pragma once

#include "app/panels/RefreshButton.h"
#include "draws/DrawsPanelLayout.h"

#include <QFont>
#include <QList>
#include <QString>
#include <QWidget>

class QLabel;

namespace quenmar::app {

/// The strip showing the latest draw: title, date and issue, the numbers as small coloured
/// labels, and the refresh button.
class DrawsPanel : public QWidget {
    Q_OBJECT

public:
    explicit DrawsPanel(QWidget* parent = nullptr);

    /// Rebuilds the labels for a draw of display kind 0..6; other kinds leave the panel as it is.
    void showLatestDraw(int kind, const QString& numbersText, const QString& dateText,
                        const QString& issueText, const QFont& font);
    /// The placeholder shown until the first draw arrives.
    void showPlaceholder(const QFont& font);

    const QList<QLabel*>& lineLabels() const { return m_lineLabels; }
    const QList<QLabel*>& numberLabels() const { return m_numberLabels; }
    RefreshButton* refreshButton() const { return m_refresh; }

signals:
    void refreshClicked();

private:
    void apply(const draws::DrawsPanelLayout& layout, const QFont& font);

    QList<QLabel*> m_lineLabels;
    QList<QLabel*> m_numberLabels;
    RefreshButton* m_refresh = nullptr;
};

} // namespace quenmar::app
