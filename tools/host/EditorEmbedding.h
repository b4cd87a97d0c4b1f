#pragma once

namespace velmora::host
{

// How the host embeds a plug-in's editor on this platform: the kind of window it gives as the
// parent (for messages) and the VST3 platform type naming it. CLAP's is in ClapParentWindow.
struct EditorEmbedding
{
  const char* windowKind;       // "an X11 window"
  const char* vst3PlatformType; // the IPlugView platform type
};

const EditorEmbedding& PlatformEditorEmbedding();

} // namespace velmora::host
