#pragma once

#include <QHostAddress>

namespace test_support {

// An address of this machine that is not the one a listening link is told to take from.
inline const QHostAddress kStranger(QStringLiteral("127.0.0.2"));

// Under Wine a datagram sent from a socket bound to another loopback address still arrives from
// 127.0.0.1, so a stranger's datagrams cannot be told apart there; its connections can.
#ifdef Q_OS_WIN
inline constexpr bool kStrangerDatagramsApart = false;
#else
inline constexpr bool kStrangerDatagramsApart = true;
#endif

}  // namespace test_support
