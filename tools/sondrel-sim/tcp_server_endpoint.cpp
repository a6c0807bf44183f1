#include "tcp_server_endpoint.h"

#include <iostream>

std::unique_ptr<TcpServerEndpoint> TcpServerEndpoint::listen(quint16 port) {
    std::unique_ptr<TcpServerEndpoint> endpoint(new TcpServerEndpoint);
    if (!endpoint->server_.listen(QHostAddress::Any, port)) {
        std::cerr << "sondrel-sim: cannot listen on TCP port " << port << ": "
                  << endpoint->server_.errorString().toStdString() << '\n';
        return nullptr;
    }
    return endpoint;
}

QString TcpServerEndpoint::path() const {
    return QStringLiteral("tcp://127.0.0.1:%1").arg(server_.serverPort());
}

QString TcpServerEndpoint::where() const {
    return QStringLiteral("TCP port %1 on all addresses").arg(server_.serverPort());
}

// Of several connections that came at once, the last one stays.
void TcpServerEndpoint::seek(std::chrono::milliseconds wait) {
    if (!server_.waitForNewConnection(connected() ? 0 : static_cast<int>(wait.count()))) {
        return;
    }
    while (QTcpSocket* next = server_.nextPendingConnection()) {
        adopt(std::unique_ptr<QTcpSocket>(next));
    }
}
