#pragma once

#include <QDBusAbstractAdaptor>
#include <QString>
#include <QStringList>

class MprisService;

// org.mpris.MediaPlayer2: the player as an application, raised and quit from the desktop.
class MprisRoot : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ canQuit)
    Q_PROPERTY(bool CanRaise READ canRaise)
    Q_PROPERTY(bool HasTrackList READ hasTrackList)
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry)
    Q_PROPERTY(bool Fullscreen READ fullscreen WRITE setFullscreen)
    Q_PROPERTY(bool CanSetFullscreen READ canSetFullscreen)
    Q_PROPERTY(QStringList SupportedUriSchemes READ supportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ supportedMimeTypes)

public:
    explicit MprisRoot(MprisService& service);

    bool canQuit() const { return true; }
    bool canRaise() const { return true; }
    bool hasTrackList() const { return false; }
    QString identity() const { return "Quintara"; }
    QString desktopEntry() const { return "com.halvex.Quintara"; }
    // The video window's full screen; without one there is none to set.
    bool fullscreen() const;
    void setFullscreen(bool on);
    bool canSetFullscreen() const;
    QStringList supportedUriSchemes() const { return {"file"}; }
    // The types of the configured extensions, disc images and folders: what OpenUri plays.
    QStringList supportedMimeTypes() const;

public slots:
    // The panel comes to the front.
    void Raise();
    // The orderly shut-down, as a second start's Close asks for it.
    void Quit();

private:
    MprisService& service_;
};
