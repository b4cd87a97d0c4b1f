// The plug-in's part in a CLAP host's context menu: its "Reset to default" item for a
// parameter, and asking the host to pop its menu up on a right-click in the editor.
#include "framework/clap/IPlugCLAP.h"

using namespace clapabi;

namespace iplug
{

const IParam* IPlugCLAP::ContextMenuParam(const clap_context_menu_target* target) const
{
  if (!target || target->kind != CLAP_CONTEXT_MENU_TARGET_KIND_PARAM ||
      target->id >= static_cast<clap_id>(NParams()))
    return nullptr;
  return GetParam(static_cast<int>(target->id));
}

bool IPlugCLAP::ContextMenuPopulate(const clap_plugin* plugin,
                                    const clap_context_menu_target* target,
                                    const clap_context_menu_builder* builder)
{
  const IPlugCLAP* self = Self(plugin);
  if (!self || !builder || !builder->add_item)
    return false;
  // Only parameters have items of the plug-in's; anything else gets none.
  if (!self->ContextMenuParam(target))
    return true;
  const clap_context_menu_entry reset{"Reset to default", true, kResetToDefaultAction};
  return builder->add_item(builder, CLAP_CONTEXT_MENU_ITEM_ENTRY, &reset);
}

bool IPlugCLAP::ContextMenuPerform(const clap_plugin* plugin,
                                   const clap_context_menu_target* target, clap_id actionId)
{
  IPlugCLAP* self = Self(plugin);
  if (!self || actionId != kResetToDefaultAction || !self->ContextMenuParam(target))
    return false;
  // Queued as one gesture for the host's next process or flush.
  self->ResetParamToDefaultFromUI(static_cast<int>(target->id));
  return true;
}

bool IPlugCLAP::PopupHostContextMenuForParam(int paramIdx, int x, int y)
{
  if (!GetParam(paramIdx))
    return false;
  auto menu = static_cast<const clap_host_context_menu*>(HostExtension(CLAP_EXT_CONTEXT_MENU));
  if (!menu)
    menu = static_cast<const clap_host_context_menu*>(HostExtension(CLAP_EXT_CONTEXT_MENU_COMPAT));
  if (!menu || !menu->can_popup || !menu->popup || !menu->can_popup(mHost))
    return false;
  const clap_context_menu_target target{CLAP_CONTEXT_MENU_TARGET_KIND_PARAM,
                                        static_cast<clap_id>(paramIdx)};
  return menu->popup(mHost, &target, 0, x, y);
}

const clap_plugin_context_menu IPlugCLAP::kContextMenuExt{
    &IPlugCLAP::ContextMenuPopulate,
    &IPlugCLAP::ContextMenuPerform,
};

} // namespace iplug
