#pragma once

#include <QAccessibleTextInterface>
#include <QAccessibleWidget>

class RawDataView;

// What assistive technology reads of the raw data view: a read-only text whose characters,
// caret, selection and lines are read from the view's buffer on demand, never copied whole.
// Offsets beyond the 32-bit range of the interface are not reachable.
class RawDataAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit RawDataAccessible(RawDataView *view);

    // Registers the factory that gives every RawDataView this interface.
    static void Install();

    void *interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text type) const override;

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
        int *startOffset, int *endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
        int *startOffset, int *endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
        int *endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

private:
    RawDataView *View() const;
    // The piece of text of the boundary type around offset, as [start, end).
    void Bounds(
        qint64 offset, QAccessible::TextBoundaryType type, qint64 &start, qint64 &end) const;
    QString Range(qint64 start, qint64 end, int *startOffset, int *endOffset) const;
};
