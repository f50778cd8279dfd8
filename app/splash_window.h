// TSplashWindow: the window shown while the program starts: the product
// name "Quorvin", "Loading...", "version 4.1" and a small picture of an
// inference net, painted at once.
#pragma once

#include <QSplashScreen>

class TSplashWindow : public QSplashScreen {
    Q_OBJECT
public:
    TSplashWindow();
    // Shows the window and paints it before returning.
    void ShowNow();

    // The picture the window shows.
    static QPixmap Picture();
};
