#pragma once

#include <functional>

#include <QPainter>
#include <QRectF>
#include <QString>

// The symbols on the panel's keys. Each draws centred in the box with the painter's brush
// colour, which the caller sets to the key's ink.
using KeyIcon = std::function<void(QPainter&, const QRectF&)>;

// count triangles pointing right or left; bar adds the end stop of the track keys.
KeyIcon triangles(int count, bool right, bool bar = false);
KeyIcon label(const QString& text, int pixels = 12);
KeyIcon volumeIcon(bool up);
void playPauseIcon(QPainter& p, const QRectF& box);
void stopIcon(QPainter& p, const QRectF& box);
void repeatIcon(QPainter& p, const QRectF& box);
void muteIcon(QPainter& p, const QRectF& box);
void discIcon(QPainter& p, const QRectF& box);
void ejectIcon(QPainter& p, const QRectF& box);
void listIcon(QPainter& p, const QRectF& box);
void slidersIcon(QPainter& p, const QRectF& box);
void topmostIcon(QPainter& p, const QRectF& box);
void sizeIcon(QPainter& p, const QRectF& box);
void minimizeIcon(QPainter& p, const QRectF& box);
void powerIcon(QPainter& p, const QRectF& box);
void returnIcon(QPainter& p, const QRectF& box);
