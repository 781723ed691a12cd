#include "app/stream/icecast/icecast_source.h"

#include "app/stream/icecast/mp3_encoder.h"
#include "app/stream/icecast/song_decoder.h"

#include <shout/shout.h>

#include <cerrno>
#include <cstring>
#include <mutex>

namespace wavecrest {
namespace {

// A connection that has not come up by then is given up and tried again later.
constexpr std::chrono::seconds kConnectTimeout{10};

void InitialiseOnce() {
  static std::once_flag once;
  std::call_once(once, [] { shout_init(); });
}

std::string Address(const StreamSettings& settings) {
  return UrlHost(settings.url) + ":" + std::to_string(settings.url.port);
}

}  // namespace

IcecastSource::~IcecastSource() {
  Close();
  shout_free(shout_);
}

IcecastSource::Step IcecastSource::Begin(const std::string& name, Failure& failure) {
  Close();
  InitialiseOnce();
  // One for the whole run: libshout 2.4.6 frees nothing of an unconnected
  // one, so a new one for each try would leak at every reconnection.
  if (shout_ == nullptr) shout_ = shout_new();
  if (shout_ == nullptr) {
    failure = {Trouble::Refused, "out of memory"};
    return Step::Failed;
  }
  const StreamUrl& url = settings_.url;
  const std::string rate = std::to_string(Mp3BitRate(settings_.kbps));
  const std::string sampleRate = std::to_string(kStreamRate);
  bool set = shout_set_host(shout_, url.host.c_str()) == SHOUTERR_SUCCESS &&
             shout_set_port(shout_, url.port) == SHOUTERR_SUCCESS &&
             shout_set_user(shout_, url.user.c_str()) == SHOUTERR_SUCCESS &&
             shout_set_password(shout_, settings_.password.c_str()) == SHOUTERR_SUCCESS &&
             shout_set_mount(shout_, url.mount.c_str()) == SHOUTERR_SUCCESS &&
             shout_set_protocol(shout_, SHOUT_PROTOCOL_HTTP) == SHOUTERR_SUCCESS &&
             shout_set_content_format(shout_, SHOUT_FORMAT_MP3, SHOUT_USAGE_AUDIO, nullptr) == SHOUTERR_SUCCESS &&
             shout_set_nonblocking(shout_, SHOUT_BLOCKING_NONE) == SHOUTERR_SUCCESS &&
             shout_set_agent(shout_, "wavecrest/" WAVECREST_VERSION) == SHOUTERR_SUCCESS &&
             shout_set_public(shout_, 0) == SHOUTERR_SUCCESS &&
             shout_set_meta(shout_, SHOUT_META_NAME, name.c_str()) == SHOUTERR_SUCCESS &&
             shout_set_audio_info(shout_, SHOUT_AI_BITRATE, rate.c_str()) == SHOUTERR_SUCCESS &&
             shout_set_audio_info(shout_, SHOUT_AI_SAMPLERATE, sampleRate.c_str()) == SHOUTERR_SUCCESS &&
             shout_set_audio_info(shout_, SHOUT_AI_CHANNELS, "2") == SHOUTERR_SUCCESS &&
             shout_set_tls(shout_, url.tls ? SHOUT_TLS_RFC2818 : SHOUT_TLS_DISABLED) == SHOUTERR_SUCCESS;
  if (set && settings_.ca) {
    // A private CA is trusted beside the system's store, not instead of it.
    set = shout_set_ca_directory(shout_, "/etc/ssl/certs") == SHOUTERR_SUCCESS &&
          shout_set_ca_file(shout_, settings_.ca->c_str()) == SHOUTERR_SUCCESS;
  }
  if (!set) {
    failure = {Trouble::Refused, "libshout refused a setting: " + std::string(shout_get_error(shout_))};
    Close();
    return Step::Failed;
  }
  deadline_ = std::chrono::steady_clock::now() + kConnectTimeout;
  const int status = shout_open(shout_);
  if (status == SHOUTERR_SUCCESS || status == SHOUTERR_CONNECTED) {
    connected_ = true;
    return Step::Connected;
  }
  if (status == SHOUTERR_BUSY || status == SHOUTERR_RETRY) return Step::Waiting;
  failure = Reason(status, true);
  Close();
  return Step::Failed;
}

IcecastSource::Step IcecastSource::Continue(Failure& failure) {
  if (shout_ == nullptr) {
    failure = {Trouble::Unreachable, "not connecting"};
    return Step::Failed;
  }
  if (connected_) return Step::Connected;
  const int status = shout_get_connected(shout_);
  if (status == SHOUTERR_CONNECTED) {
    connected_ = true;
    return Step::Connected;
  }
  const bool waiting = status == SHOUTERR_UNCONNECTED || status == SHOUTERR_BUSY || status == SHOUTERR_RETRY;
  if (waiting && std::chrono::steady_clock::now() < deadline_) return Step::Waiting;
  failure = waiting ? Failure{Trouble::Unreachable, "no answer from " + Address(settings_) + " within " +
                                                        std::to_string(kConnectTimeout.count()) + " s"}
                    : Reason(status, true);
  Close();
  return Step::Failed;
}

bool IcecastSource::Send(const std::uint8_t* data, std::size_t size, Failure& failure) {
  if (!connected_) return false;
  const int status = shout_send(shout_, data, size);
  if (status == SHOUTERR_SUCCESS || status == SHOUTERR_BUSY || status == SHOUTERR_RETRY) return true;
  failure = Reason(status, false);
  Close();
  return false;
}

std::size_t IcecastSource::Queued() {
  if (!connected_) return 0;
  const ssize_t queued = shout_queuelen(shout_);
  return queued > 0 ? static_cast<std::size_t>(queued) : 0;
}

void IcecastSource::Close() {
  if (shout_ != nullptr) shout_close(shout_);
  connected_ = false;
}

Failure IcecastSource::Reason(int code, bool connecting) {
  switch (code) {
    case SHOUTERR_TLSBADCERT:
      return {Trouble::Refused, "the server's TLS certificate is not trusted (--stream-ca trusts a private CA)"};
    case SHOUTERR_NOTLS:
      return {Trouble::Refused, "the server at " + Address(settings_) + " does not speak TLS"};
    case SHOUTERR_NOCONNECT:
    case SHOUTERR_SOCKET:
    case SHOUTERR_NOLOGIN:
      break;
    default:
      return {Trouble::Refused, std::string("libshout: ") + shout_get_error(shout_)};
  }
  if (!connecting) return {Trouble::Unreachable, "the connection to " + Address(settings_) + " broke"};
  if (Failure found = WhyNoSource(settings_); !found.why.empty()) return found;
  if (code == SHOUTERR_NOLOGIN) {
    return {Trouble::Refused, "the server refused the source (a wrong user or password, the mount " +
                                  settings_.url.mount + " in use, or no Icecast server)"};
  }
  return {Trouble::Unreachable, "cannot connect to " + Address(settings_)};
}

}  // namespace wavecrest
