#include "ui/ResourceRegistry.h"

#include "ui/EmbeddedResources.h"

namespace qx::ui {

ResourceRegistry ResourceRegistry::FromEmbedded() {
  ResourceRegistry registry;
  for (const EmbeddedFile& file : EmbeddedResourceFiles()) registry.AddFile(file.name, file.text);
  return registry;
}

void ResourceRegistry::AddFile(std::string_view fileName, std::string_view text) {
  ParsedResources parsed = ParseResources(fileName, text);
  errors_.insert(errors_.end(), parsed.errors.begin(), parsed.errors.end());
  const std::string file(fileName);
  for (DialogTemplate& dialog : parsed.dialogs) {
    const bool idTaken = dialog.id != 0 && dialogsById_.count(dialog.id) != 0;
    const bool nameTaken = !dialog.name.empty() && dialogsByName_.count(dialog.name) != 0;
    if (idTaken || nameTaken) {
      errors_.push_back({file, dialog.line,
                         "dialog " +
                             (idTaken ? std::to_string(dialog.id) : "\"" + dialog.name + "\"") +
                             " is defined twice"});
      continue;
    }
    auto stored = std::make_unique<DialogTemplate>(std::move(dialog));
    if (stored->id != 0) dialogsById_[stored->id] = stored.get();
    if (!stored->name.empty()) dialogsByName_[stored->name] = stored.get();
    dialogs_.push_back(std::move(stored));
  }
  for (MenuTemplate& menu : parsed.menus) {
    if (!menus_.emplace(menu.id, menu).second) {
      errors_.push_back({file, 0, "menu " + std::to_string(menu.id) + " is defined twice"});
    }
  }
  for (Bitmap& image : parsed.images) {
    const int id = image.id;
    if (!images_.emplace(id, std::make_shared<const Bitmap>(std::move(image))).second) {
      errors_.push_back({file, 0, "image " + std::to_string(id) + " is defined twice"});
    }
  }
}

std::vector<const DialogTemplate*> ResourceRegistry::Dialogs() const {
  std::vector<const DialogTemplate*> all;
  for (const auto& dialog : dialogs_) all.push_back(dialog.get());
  return all;
}

const DialogTemplate* ResourceRegistry::FindDialog(int id) const {
  auto it = dialogsById_.find(id);
  return it == dialogsById_.end() ? nullptr : it->second;
}

const DialogTemplate* ResourceRegistry::FindDialog(const std::string& name) const {
  auto it = dialogsByName_.find(name);
  return it == dialogsByName_.end() ? nullptr : it->second;
}

const MenuTemplate* ResourceRegistry::FindMenu(int id) const {
  auto it = menus_.find(id);
  return it == menus_.end() ? nullptr : &it->second;
}

std::shared_ptr<const Bitmap> ResourceRegistry::FindImage(int id) const {
  auto it = images_.find(id);
  return it == images_.end() ? nullptr : it->second;
}

}  // namespace qx::ui
