// TLineGutter: the strip left of the knowledge-base text with the line
// numbers and the mark of the line that holds the error.
//
// It paints what its editor tells it (the editor owns the text and the
// error) and shows the error's detail as the tooltip of the marked line.
#pragma once

#include <QWidget>

class TCodeEditor;

class TLineGutter : public QWidget {
    Q_OBJECT
public:
    explicit TLineGutter(TCodeEditor *editor);

    // Wide enough for the highest line number and the mark.
    int WidthNeeded() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    TCodeEditor *editor;
};
