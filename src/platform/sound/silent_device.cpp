#include "platform/sound/sound_device.h"

#include <algorithm>

namespace platform {

void SilentDevice::start(Voice voice) { end_ = clock().now() + voice.durationMs; }

void SilentDevice::stop() { end_ = std::min(end_, clock().now()); }

bool SilentDevice::isPlaying() { return clock().now() < end_; }

void SilentDevice::waitEnd() { clock().block(end_ - clock().now()); }

} // namespace platform
