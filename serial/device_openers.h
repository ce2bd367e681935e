#pragma once

namespace varelo {

// Whether a running process holds the device open other than through this one
// descriptor of ours: any descriptor on the same device, in any process, this one
// included. True when it cannot be told (a process whose descriptors we may not
// see), so that a doubt never takes a port away from its holder.
bool DeviceOpenElsewhere(int fd);

}  // namespace varelo
