#include "platform/link_strangers.h"

#include <utility>

#include "platform/link_address.h"

namespace {

constexpr int kTellEveryMs = 1000;

bool same(const QHostAddress& a, const QHostAddress& b) {
    return a.isEqual(b, QHostAddress::TolerantConversion);
}

}  // namespace

LinkStrangers::LinkStrangers(const QHostAddress& allowed, const char* thing, const char* turned,
                             QObject* parent)
    : QObject(parent), allowed_(allowed), thing_(thing), turned_(turned) {
    pace_.setSingleShot(true);
    pace_.setInterval(kTellEveryMs);
    connect(&pace_, &QTimer::timeout, this, [this] {
        if (std::exchange(untold_, false)) {
            emit counted();
            pace_.start();
        }
    });
}

bool LinkStrangers::admit(const QHostAddress& sender) {
    if (allowed_.isNull() || same(sender, allowed_)) {
        return true;
    }
    const QString who = link_address::addressText(sender);
    if (count_++ == 0) {
        first_ = who;
    } else if (who != first_) {
        others_ = true;
    }
    if (pace_.isActive()) {
        untold_ = true;
    } else {
        emit counted();
        pace_.start();
    }
    return false;
}

QString LinkStrangers::note() const {
    if (count_ == 0) {
        return {};
    }
    return QStringLiteral("%1 %2%3 from %4%5 %6")
        .arg(count_)
        .arg(QLatin1String(thing_), count_ == 1 ? QString() : QStringLiteral("s"), first_,
             others_ ? QStringLiteral(" and others") : QString(), QLatin1String(turned_));
}

void LinkStrangers::reset() {
    count_ = 0;
    first_.clear();
    others_ = false;
    untold_ = false;
    pace_.stop();
}
