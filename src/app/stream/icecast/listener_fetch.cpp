#include "app/stream/icecast/listener_fetch.h"

#include "app/stream/listener_stats.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QUrl>

namespace wavecrest {
namespace {

// The longest a request may take; its answer is "nothing" then.
constexpr int kTimeoutMilliseconds = 3000;
// A statistics page is a few kilobytes; a server sending more is not read.
constexpr qint64 kMaxAnswerBytes = 1 << 20;

}  // namespace

ListenerFetch::ListenerFetch(const StreamSettings& settings)
    : settings_(settings), network_(std::make_unique<QNetworkAccessManager>()) {}

ListenerFetch::~ListenerFetch() {
  if (reply_) {
    reply_->disconnect();
    reply_->abort();
    delete reply_.data();
  }
}

void ListenerFetch::Fetch(std::function<void(std::optional<int>)> answer) {
  answer_ = std::move(answer);
  if (reply_) return;
  const QString address = QString::fromStdString(std::string(settings_.url.tls ? "https://" : "http://") +
                                                 UrlHost(settings_.url) + ":" + std::to_string(settings_.url.port) +
                                                 "/status-json.xsl");
  QNetworkRequest request{QUrl(address)};
  request.setTransferTimeout(kTimeoutMilliseconds);
  if (settings_.ca) {
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.addCaCertificates(QString::fromStdString(settings_.ca->string()));
    request.setSslConfiguration(tls);
  }
  QNetworkReply* reply = network_->get(request);
  reply_ = reply;
  QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
    if (received > kMaxAnswerBytes) reply->abort();
  });
  QObject::connect(reply, &QNetworkReply::finished, reply, [this, reply] {
    std::optional<int> count;
    if (reply->error() == QNetworkReply::NoError) {
      const QByteArray body = reply->read(kMaxAnswerBytes);
      count = ListenerCountOf(std::string_view(body.constData(), static_cast<std::size_t>(body.size())),
                              settings_.url.mount);
    }
    reply->deleteLater();
    reply_ = nullptr;
    if (answer_) answer_(count);
  });
}

}  // namespace wavecrest
