#pragma once

namespace velmora::test
{

// What a leak would leave in this process: GDI objects, user objects (windows, cursors, menus)
// and kernel handles.
struct ResourceCount
{
  long gdiObjects;
  long userObjects;
  long handles;
};

ResourceCount CountResources();

} // namespace velmora::test
