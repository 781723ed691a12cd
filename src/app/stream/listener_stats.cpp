#include "app/stream/listener_stats.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

#include <cmath>

namespace wavecrest {
namespace {

// The largest count believed; anything above is a broken answer.
constexpr double kMaxListeners = 1e9;

std::optional<int> CountOf(const QJsonObject& source, std::string_view mount) {
  const QUrl url(source.value("listenurl").toString());
  if (!url.isValid() || url.path().toStdString() != mount) return std::nullopt;
  const QJsonValue listeners = source.value("listeners");
  if (!listeners.isDouble()) return std::nullopt;
  const double count = listeners.toDouble();
  if (!(count >= 0 && count <= kMaxListeners) || std::floor(count) != count) return std::nullopt;
  return static_cast<int>(count);
}

}  // namespace

std::optional<int> ListenerCountOf(std::string_view json, std::string_view mount) {
  QJsonParseError error{};
  const QJsonDocument document =
      QJsonDocument::fromJson(QByteArray(json.data(), static_cast<qsizetype>(json.size())), &error);
  if (error.error != QJsonParseError::NoError || !document.isObject()) return std::nullopt;
  // One source is an object, several an array of them.
  const QJsonValue sources = document.object().value("icestats").toObject().value("source");
  if (sources.isObject()) return CountOf(sources.toObject(), mount);
  for (const QJsonValue& source : sources.toArray()) {
    if (const std::optional<int> count = CountOf(source.toObject(), mount)) return count;
  }
  return std::nullopt;
}

}  // namespace wavecrest
