#pragma once

#include <memory>

namespace velmora::tools
{

// Keeps a snapshot run's display scale away from the user's: while it lives, the scale the tool
// stores is the one the editor reads, and afterwards the user's stored scale is as it was.
class PrivateSettings
{
public:
  virtual ~PrivateSettings() = default;
};

// nullptr when the user's settings cannot be kept apart.
std::unique_ptr<PrivateSettings> UsePrivateSettings();

} // namespace velmora::tools
