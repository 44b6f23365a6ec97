#pragma once

#include <QTimer>
#include <QWidget>

namespace scorvane {

// The first window of the program (frmSlape): the picture, the brand, the slogan and the version, and
// a progress bar across its bottom that grows 200 twips on every tick of a 1 ms timer. When the bar
// has reached the window's width the splash asks for the main window to be shown (handOver), reads
// "启动完成,正在加载组件..." and, 1.5 s later, closes and lets the main window be used (finished).
class SplashWindow : public QWidget {
    Q_OBJECT
  public:
    // `versionLine` as SplashVersionLine gives it ("V 1.1.0000").
    explicit SplashWindow(const QString& versionLine, QWidget* parent = nullptr);

    // Starts the first timer.
    void start();
    // One tick of the first timer.
    void tick();

    int progressTwips() const { return progressTwips_; }
    QString progressText() const { return progressText_; }
    QTimer& progressTimer() { return progress_; }
    QTimer& holdTimer() { return hold_; }

  signals:
    void handOver();
    void finished();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void holdElapsed();

    QString versionLine_;
    QTimer progress_;
    QTimer hold_;
    int progressTwips_ = 0;
    QString progressText_;
};

}  // namespace scorvane
