#include "app/Anzeigefeldzugang.h"

#include "app/Anzeigefeld.h"

#include <QAccessibleWidget>

namespace fenster {
namespace {

// A path field is a button; a counter is read-only text. Either way its content is its text, so
// that the name can say what the field is.
class AnzeigefeldZugang : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit AnzeigefeldZugang(Anzeigefeld* feld) : QAccessibleWidget(feld) {}

    QAccessible::Role role() const override
    {
        return feld()->klickbar() ? QAccessible::Button : QAccessible::StaticText;
    }

    QString text(QAccessible::Text art) const override
    {
        switch (art) {
        case QAccessible::Name:
            return feld()->accessibleName().isEmpty() ? feld()->text() : feld()->accessibleName();
        case QAccessible::Value:
            return feld()->text();
        case QAccessible::Description:
            return feld()->accessibleDescription().isEmpty() ? feld()->hinweis() : feld()->accessibleDescription();
        default:
            return QAccessibleWidget::text(art);
        }
    }

    void* interface_cast(QAccessible::InterfaceType art) override
    {
        if (art == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(art);
    }

    QStringList actionNames() const override
    {
        QStringList namen = QAccessibleWidget::actionNames();
        if (feld()->klickbar())
            namen.prepend(pressAction());
        return namen;
    }

    // A field switched off while a run works ignores the press, as it ignores a click.
    void doAction(const QString& aktion) override
    {
        if (aktion == pressAction() && feld()->klickbar()) {
            if (feld()->isEnabled())
                emit feld()->geklickt();
            return;
        }
        QAccessibleWidget::doAction(aktion);
    }

    // The text, read only: no cursor, no selection.
    QString text(int anfang, int ende) const override { return feld()->text().mid(anfang, ende - anfang); }
    int characterCount() const override { return static_cast<int>(feld()->text().size()); }
    void selection(int, int* anfang, int* ende) const override { *anfang = *ende = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* anfang, int* ende) const override
    {
        *anfang = 0;
        *ende = characterCount();
        return {};
    }

private:
    Anzeigefeld* feld() const { return static_cast<Anzeigefeld*>(widget()); }
};

QAccessibleInterface* zugangFuer(const QString& klasse, QObject* objekt)
{
    if (klasse == QLatin1String(Anzeigefeld::staticMetaObject.className()))
        return new AnzeigefeldZugang(static_cast<Anzeigefeld*>(objekt));
    return nullptr;
}

} // namespace

void ZugangEinrichten(Anzeigefeld& feld)
{
    [[maybe_unused]] static const bool eingerichtet = (QAccessible::installFactory(&zugangFuer), true);
    // Qt may have described the field while it was being made, when it was still a plain label;
    // that description goes, so that the next question finds the field's own.
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(QAccessible::queryAccessibleInterface(&feld)));
}

} // namespace fenster
