#pragma once

// All templates, menus and images of the tool, by number (and templates also by name). Built
// from the resource files embedded into the binary, or from text in tests.

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Bitmap.h"
#include "ui/ResourceParser.h"
#include "ui/Templates.h"

namespace qx::ui {

class ResourceRegistry {
 public:
  ResourceRegistry() = default;

  // The resources built into the program.
  static ResourceRegistry FromEmbedded();

  // Adds one file's definitions. A number or name defined twice keeps the first definition
  // and reports the second.
  void AddFile(std::string_view fileName, std::string_view text);
  const std::vector<ResourceError>& Errors() const { return errors_; }

  const DialogTemplate* FindDialog(int id) const;
  const DialogTemplate* FindDialog(const std::string& name) const;
  const MenuTemplate* FindMenu(int id) const;
  std::shared_ptr<const Bitmap> FindImage(int id) const;

  std::size_t DialogCount() const { return dialogs_.size(); }
  // Every dialog template, in the order the files defined them.
  std::vector<const DialogTemplate*> Dialogs() const;

 private:
  std::vector<std::unique_ptr<DialogTemplate>> dialogs_;
  std::map<int, const DialogTemplate*> dialogsById_;
  std::map<std::string, const DialogTemplate*> dialogsByName_;
  std::map<int, MenuTemplate> menus_;
  std::map<int, std::shared_ptr<const Bitmap>> images_;
  std::vector<ResourceError> errors_;
};

}  // namespace qx::ui
