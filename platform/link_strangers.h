#pragma once

#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QTimer>

// Whom a listening link lets in, and what it turned away. A listening link is a door on the
// ship's network: a record from anyone else would steer the echosounder.
class LinkStrangers : public QObject {
    Q_OBJECT
public:
    // `thing` is what arrives ("datagram", "connection"), `turned` what befalls a stranger's
    // ("ignored", "refused"). A null `allowed` lets everyone in.
    LinkStrangers(const QHostAddress& allowed, const char* thing, const char* turned,
                  QObject* parent);

    // Whether the sender is let in; a stranger is counted.
    bool admit(const QHostAddress& sender);
    // "3 datagrams from 10.0.0.9 ignored"; empty while nobody was turned away.
    QString note() const;
    void reset();

signals:
    // Someone was turned away: told at once for the first, then at most once a second, so that a
    // stranger's flood does not redraw the status line for every datagram.
    void counted();

private:
    QHostAddress allowed_;
    const char* thing_;
    const char* turned_;
    qint64 count_ = 0;
    QString first_;
    bool others_ = false;
    QTimer pace_;
    bool untold_ = false;
};
