#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QString>
#include <QVariantMap>

#include <cstdint>
#include <functional>

#include "core/command_id.h"

class MprisService;
class Playback;

// org.mpris.MediaPlayer2.Player: the transport goes through the same commands as the panel's
// buttons; the properties follow PlayerState, and the service signals their changes.
class MprisPlayer : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(QString LoopStatus READ loopStatus WRITE setLoopStatus)
    Q_PROPERTY(double Rate READ rate WRITE setRate)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(double MinimumRate READ minimumRate)
    Q_PROPERTY(double MaximumRate READ maximumRate)
    Q_PROPERTY(bool CanGoNext READ canGoNext)
    Q_PROPERTY(bool CanGoPrevious READ canGoPrevious)
    Q_PROPERTY(bool CanPlay READ canPlay)
    Q_PROPERTY(bool CanPause READ canPause)
    Q_PROPERTY(bool CanSeek READ canSeek)
    Q_PROPERTY(bool CanControl READ canControl)

public:
    explicit MprisPlayer(MprisService& service);

    QString playbackStatus() const;
    QString loopStatus() const;
    // Clicks Repeat until the mode is the one named, or until it comes round again when the
    // configuration leaves that mode out.
    void setLoopStatus(const QString& name);
    // The forward rate played. A written rate that is one the configuration offers runs that
    // rate's command, 1 returns to normal play, any other is passed over.
    double rate() const;
    void setRate(double rate);
    double minimumRate() const;
    double maximumRate() const;
    QVariantMap metadata() const;
    double volume() const;
    void setVolume(double share);
    qlonglong position() const;
    bool canGoNext() const;
    bool canGoPrevious() const;
    bool canPlay() const;
    bool canPause() const;
    bool canSeek() const;
    bool canControl() const { return true; }

public slots:
    void Next();
    void Previous();
    void Pause();
    void PlayPause();
    void Stop();
    void Play();
    void Seek(qlonglong offset);
    void SetPosition(const QDBusObjectPath& trackId, qlonglong position);
    // A file or folder plays as one named on the command line; anything else is refused.
    void OpenUri(const QString& uri, const QDBusMessage& call);

signals:
    void Seeked(qlonglong Position);

private:
    // Runs the work in its turn (see Turns).
    void inTurn(std::function<void()> work);
    void clickRepeatUntil(const QString& name);
    void playAtRate(double rate);
    void seekBy(qlonglong offset);
    void refuse(const QDBusMessage& call, QDBusError::ErrorType error, const QString& why);
    // Runs a panel command while the player lives and, when asked, only with a track loaded.
    void command(CommandId id, bool needsTrack);
    void jumpTo(qlonglong positionUs);
    Playback& playback() const;

    MprisService& service_;
};
