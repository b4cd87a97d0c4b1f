#pragma once

#include "framework/graphics/ECursor.h"
#include "framework/graphics/IBitmap.h"
#include "framework/graphics/IControl.h"
#include "framework/graphics/IDrawContext.h"
#include "framework/graphics/IInteractionListener.h"
#include "framework/graphics/IMouseMod.h"
#include "framework/graphics/IText.h"
#include "framework/graphics/ResourceEntry.h"

#include <memory>
#include <span>
#include <string>
#include <vector>

namespace iplug
{
class IEditorDelegate;
class IHostRunLoop;

namespace igraphics
{

// The editor's drawing context: its logical size, frame rate and scales, the controls it owns,
// its resources and an off-screen backing image of the whole editor that a window copies to the
// screen. The backing image measures the logical size times the draw scale times the screen
// scale, in pixels. It lives on the main thread from the editor's opening to its closing.
class IGraphics
{
public:
  static constexpr float kMinDrawScale = 0.5f;
  static constexpr float kMaxDrawScale = 4.f;
  static constexpr float kMinScreenScale = 1.f;
  static constexpr float kMaxScreenScale = 4.f;
  // Bitmaps are never resampled above this many pixels per unit; drawing scales them further.
  static constexpr int kMaxBitmapScale = 4;

  IGraphics(IEditorDelegate& delegate, int width, int height, int fps = 60, float scale = 1.f);
  // Ends a gesture still open (the editor closed during a drag) before the controls go.
  virtual ~IGraphics();
  IGraphics(const IGraphics&) = delete;
  IGraphics& operator=(const IGraphics&) = delete;

  IEditorDelegate& GetDelegate() const { return mDelegate; }
  int Width() const { return mWidth; }
  int Height() const { return mHeight; }
  int FPS() const { return mFPS; }
  IRECT GetBounds() const
  {
    return {0.f, 0.f, static_cast<float>(mWidth), static_cast<float>(mHeight)};
  }

  // --- Scale -----------------------------------------------------------------------------------
  float GetDrawScale() const { return mDrawScale; }
  float GetScreenScale() const { return mScreenScale; }
  float GetTotalScale() const { return mDrawScale * mScreenScale; }
  // Size of the backing image (and of the window showing it) in pixels.
  int WindowWidth() const;
  int WindowHeight() const;
  // A new draw scale (held within kMinDrawScale..kMaxDrawScale) at the same logical size: the
  // backing image is rebuilt, every control rescales, and the next frame redraws everything.
  // Should the new image not be made (no memory), frames draw nothing until a resize succeeds.
  void Resize(float drawScale);
  // The screen's pixels per device-independent pixel (held within 1..4), with the same effects.
  void SetScreenScale(float screenScale);

  // --- Controls --------------------------------------------------------------------------------
  // Takes ownership of the control and gives it its tag; returns it for further set-up.
  // Tags identify one control each: a tag already in use is not given out again (the control
  // is attached without a tag).
  IControl* AttachControl(std::unique_ptr<IControl> control, int ctrlTag = kNoTag);
  int NControls() const { return static_cast<int>(mControls.size()); }
  IControl* GetControl(int idx) const;
  IControl* GetControlWithTag(int ctrlTag) const;
  void RemoveAllControls();

  // Hands a message to the control bearing ctrlTag; false when there is none.
  bool SendMsgToControl(int ctrlTag, int msgTag, int dataSize, const void* pData) const;
  // Shows a parameter's new normalised value on every control bound to it.
  void UpdateControlsOfParam(int paramIdx, double normalized) const;

  // --- Resources -------------------------------------------------------------------------------
  // The table resources are looked up in (by file name, without regard to case). The table must
  // outlive the editor; setting one forgets every bitmap decoded from the previous one.
  void SetResources(std::span<const ResourceEntry> resources);
  // The named PNG divided into nFrames frames, decoded once per editor and resampled for
  // targetScale pixels per unit (0: the total scale rounded up). Invalid when the resource is
  // missing or is no PNG.
  IBitmap LoadBitmap(const char* name, int nFrames = 1, bool framesAreHorizontal = false,
                     int targetScale = 0);
  // The same image resampled for the current total scale (rounded up); the bitmap itself when it
  // already fits or is invalid.
  IBitmap GetScaledBitmap(const IBitmap& bitmap);
  // Registers the TrueType file under fontID for text styles to name. False when the file is
  // missing or no font; an identifier already registered keeps its first font.
  bool LoadFont(const char* fontID, const char* fileName);
  bool HasFont(std::string_view fontID) const { return FindFont(fontID) != nullptr; }

  // --- Drawing, in logical units (from controls' Draw) ------------------------------------------
  // The part of the bitmap at (srcX, srcY), in the bitmap's logical units, fills dest.
  void DrawBitmap(const IBitmap& bitmap, const IRECT& dest, int srcX, int srcY,
                  const IBlend* blend = nullptr);
  // Frame 0..N-1 of the bitmap into dest.
  void DrawBitmapFrame(const IBitmap& bitmap, const IRECT& dest, int frame,
                       const IBlend* blend = nullptr);
  void DrawLine(const IColor& color, float x1, float y1, float x2, float y2,
                const IBlend* blend = nullptr, float thickness = 1.f);
  void FillTriangle(const IColor& color, float x1, float y1, float x2, float y2, float x3, float y3,
                    const IBlend* blend = nullptr);
  void FillRect(const IColor& color, const IRECT& bounds, const IBlend* blend = nullptr);
  void FillRoundRect(const IColor& color, const IRECT& bounds, float cornerRadius = 5.f,
                     const IBlend* blend = nullptr);
  void DrawRoundRect(const IColor& color, const IRECT& bounds, float cornerRadius = 5.f,
                     const IBlend* blend = nullptr, float thickness = 1.f);
  // False (and nothing drawn) when the style's font is not registered.
  bool DrawText(const IText& text, const char* str, const IRECT& bounds,
                const IBlend* blend = nullptr);
  // The text's advance in logical units; 0 when the style's font is not registered or there is
  // no backing image to measure with.
  float MeasureText(const IText& text, const char* str);

  // --- Redraw ----------------------------------------------------------------------------------
  // Whether any control is marked for redraw.
  bool IsDirty() const;
  // Whether the next frame would draw or step anything: an area or a control marked for
  // redraw, or a control that wants its frame step.
  bool NeedsFrame() const;
  // The plug-in's idle tick, on the main thread while the editor is open. A platform window
  // uses it to let its frames rest while nothing changes, and to resume them for what was
  // marked in between, on this thread or another.
  virtual void OnIdle() {}
  void SetAllControlsDirty();
  // Adds an area to the next frame's redraw, such as the place a control has just left.
  void SetAreaDirty(const IRECT& area) { mDirtyArea = mDirtyArea.Union(area); }
  // One frame: every control takes its frame step (OnFrameStart); then the rectangles of the
  // controls marked for redraw, joined where they overlap, are the regions drawn: each is
  // cleared and every visible control that meets it is drawn into it, in attachment order,
  // each clipped to the region and to its own rectangle. With nothing marked nothing is drawn.
  // Returns the smallest rectangle of the backing image, in pixels, holding every region drawn
  // (empty when none). The window's timer calls it at up to FPS() times a second.
  PixelRect Draw();
  // The regions the last Draw drew, in pixels; a window need copy only these.
  std::span<const PixelRect> DrawnRegions() const { return mDrawRegions; }
  // The whole editor, now.
  PixelRect DrawAll();
  // The backing image as last drawn; the view holds until the next resize.
  PixelView GetPixels();
  bool WritePNG(const char* path);

  // --- Mouse, in window pixels -------------------------------------------------------------------
  // A right-button press on a control bound to a parameter asks the host for its menu for the
  // parameter at the press position; it grabs nothing and changes no value. Other controls get
  // the press (and what follows) like any other.
  void OnMouseDown(float x, float y, const IMouseMod& mod);
  void OnMouseUp(float x, float y, const IMouseMod& mod);
  // dX, dY: movement since the last event, in window pixels.
  void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod);
  // The second press of a double-click (the window sends it in place of OnMouseDown); a control
  // that takes double-clicks as single clicks gets OnMouseDown and the release that follows, and
  // so does every control for the right button.
  void OnMouseDblClick(float x, float y, const IMouseMod& mod);
  // d: wheel steps, positive away from the user.
  void OnMouseWheel(float x, float y, const IMouseMod& mod, float d);
  // Movement without a button held; acted on only while mouse-over tracking is on.
  void OnMouseOver(float x, float y, const IMouseMod& mod);
  // The mouse left the window.
  void OnMouseOut();
  void EnableMouseOver(bool enable) { mEnableMouseOver = enable; }
  bool MouseOverEnabled() const { return mEnableMouseOver; }
  // The top-most visible, enabled control taking the mouse at a logical position; -1 when none.
  int GetMouseControlIdx(float x, float y) const;
  // The control receiving drags until the button is released.
  IControl* GetCapturedControl() const { return mCapturedControl; }
  IControl* GetMouseOverControl() const { return mMouseOverControl; }
  // The one overlay told what the user does with the controls (null: none). It must stay
  // valid while set; removing the controls forgets it.
  void SetInteractionListener(IInteractionListener* listener) { mInteractionListener = listener; }

  // --- Cursor requests (the window shows them) --------------------------------------------------
  // Returns the cursor it replaces.
  ECursor SetMouseCursor(ECursor cursor);
  ECursor GetMouseCursor() const { return mCursor; }
  // Hiding remembers where the mouse was; showing again asks the window to put it back there.
  void HideMouseCursor(bool hide);
  bool IsCursorHidden() const { return mCursorHidden; }
  // True once after the cursor was shown again, with the position (window pixels) to restore.
  bool TakeCursorRestore(float& x, float& y);

  // --- Platform window (a subclass shows the editor inside a host's window) ---------------------
  // Opens the editor as a child of the host's window (the platform's handle), served by the
  // host's run loop where the platform's windows need one (null where they keep their own
  // timers). False when this context has no window or it cannot be made.
  virtual bool OpenWindow(void* /*parent*/, IHostRunLoop* /*runLoop*/) { return false; }
  virtual void CloseWindow() {}
  virtual bool IsWindowOpen() const { return false; }
  virtual bool ShowWindow(bool /*show*/) { return false; }

  // --- Resize drag (scaling the whole editor by dragging its corner) --------------------------
  // While a resize drag is in progress, mouse movement rescales the editor instead of reaching
  // the captured control: the draw scale follows the mouse's distance from the editor's origin
  // relative to the mouse-down position. Starting remembers the latest mouse position as that
  // origin; ending makes every control rescale and redraw. The release of the button ends the
  // drag and then applies a pending snap scale, if any, as a resize of its own.
  void StartDragResize();
  void EndDragResize();
  bool IsResizingInProcess() const { return mResizingInProcess; }
  // Scale to apply once the current release has been handled; 0 for none.
  void SetPendingSnapScale(float scale) { mPendingSnapScale = scale; }
  float GetPendingSnapScale() const { return mPendingSnapScale; }
  // Shift was held during the latest movement of a resize drag.
  void SetDragWithShift(bool held) { mDragWithShift = held; }
  bool GetDragWithShift() const { return mDragWithShift; }

protected:
  // The back end drawing the backing image, for a window that copies from it natively.
  IDrawContext& GetDrawContext() const { return *mDrawContext; }
  // For a platform window: the backing image changed size, or the cursor request changed.
  virtual void PlatformResized() {}
  virtual void PlatformCursorChanged() {}

private:
  struct CachedBitmap
  {
    int resourceIdx;
    int scale;
    std::shared_ptr<const APIBitmap> bitmap;
  };
  struct LoadedFont
  {
    std::string id;
    std::unique_ptr<APIFont> font;
  };

  void RebuildBackingImage();
  // Adds a pixel region to this frame's, joining it with those it overlaps.
  void AddDrawRegion(PixelRect region);
  void DrawRegion(const PixelRect& region);
  // The pixels of the backing image that a logical rectangle touches.
  PixelRect ToPixels(const IRECT& r) const;
  int FindResource(std::string_view name) const;
  int BitmapScaleFor(int targetScale) const;
  std::shared_ptr<const APIBitmap> GetCachedBitmap(int resourceIdx, int scale);
  const APIFont* FindFont(std::string_view fontID) const;
  void BeginGesture(const IControl& control);
  void EndGesture();
  // Tells the interaction listener of an edit when the control's value is no longer `before`.
  void NoteEdit(const IControl& control, double before);
  // A right-button press: the host's menu for a control bound to a parameter; true when the
  // press was taken for that (no other control handling follows).
  bool OnRightButtonOverParam(IControl* control, float x, float y);
  // Resize-drag halves of the mouse handlers (IGraphicsResizeDrag.cpp).
  void OnDragResize(float x, float y, const IMouseMod& mod);
  void FinishDragResizeOnRelease();

  IEditorDelegate& mDelegate;
  int mWidth;
  int mHeight;
  int mFPS;
  float mDrawScale;
  float mScreenScale = 1.f;
  std::unique_ptr<IDrawContext> mDrawContext;
  bool mHasBackingImage = false;
  IRECT mDirtyArea;
  std::vector<PixelRect> mDrawRegions;
  std::vector<std::unique_ptr<IControl>> mControls;

  std::span<const ResourceEntry> mResources;
  std::vector<CachedBitmap> mBitmapCache;
  std::vector<LoadedFont> mFonts;

  bool mEnableMouseOver = false;
  IControl* mCapturedControl = nullptr;
  IControl* mMouseOverControl = nullptr;
  IInteractionListener* mInteractionListener = nullptr;
  int mGestureParamIdx = kNoParameter;
  float mLastMouseX = 0.f;
  float mLastMouseY = 0.f;

  bool mResizingInProcess = false;
  float mDragResizeOriginX = 1.f;
  float mDragResizeOriginY = 1.f;
  float mPendingSnapScale = 0.f;
  bool mDragWithShift = false;

  ECursor mCursor = ECursor::ARROW;
  bool mCursorHidden = false;
  bool mCursorRestorePending = false;
  float mCursorRestoreX = 0.f;
  float mCursorRestoreY = 0.f;
};

} // namespace igraphics
} // namespace iplug
