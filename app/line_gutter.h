// TLineGutter: the strip left of the knowledge-base text with the line
// numbers and the mark of the line that holds the error.
//
// It knows its editor only as the owner below, which paints it (the editor
// has the geometry of the lines) and says what the tooltip at a height is.
#pragma once

#include <QString>
#include <QWidget>

class QPaintEvent;

class ILineGutterOwner {
public:
    virtual ~ILineGutterOwner() = default;
    virtual int GutterWidth() const = 0;
    virtual void PaintGutter(QPaintEvent *event) = 0;
    // The tooltip at a height of the gutter; empty for none.
    virtual QString GutterTip(int y) const = 0;
};

class TLineGutter : public QWidget {
    Q_OBJECT
public:
    TLineGutter(ILineGutterOwner *owner, QWidget *parent);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    ILineGutterOwner *owner;
};
