// The event handler of the YAML reader: builds a binding value from parser
// events with a node stack, the pending mapping key and a table of anchors.
//
//   DocumentStart        the second one fails: one document per text
//   any node event       chooses its target first:
//                          open sequence on top        -> append an element, push it
//                          open mapping, key pending   -> member(key), push it
//                          otherwise                   -> the top entry itself
//   Scalar               in key position: becomes the pending key (never typed)
//                        otherwise: typed into the target, anchor recorded, pop
//   SequenceStart/MappingStart
//                        in key position: fails; otherwise the target becomes
//                        the container, its anchor marks it open; stays pushed
//   ContainerEnd         pop
//   Alias                in key position: the anchored key's or scalar's text
//                        becomes the pending key; otherwise a deep copy of the
//                        anchored node as it stands now, then pop. An anchor of
//                        a container still open is cyclic.
//
// The first failure replaces the result's value by the error; after it the
// builder touches nothing, and the caller stops feeding events.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "binding/binding_property.h"
#include "binding/binding_result.h"

namespace zun {

// A position for messages, counted from 1.
struct YamlMark {
  size_t line = 1;
  size_t column = 1;
};

// One scalar as the parser reports it. `tag` is null when the scalar has none.
struct YamlScalarEvent {
  std::string_view text;
  const char* tag = nullptr;
  std::string_view anchor;
  bool quoted = false;
  YamlMark mark;
};

class YamlValueBuilder {
 public:
  // Builds into `result`'s value. Aliases may create at most `aliasBudget`
  // values in all.
  YamlValueBuilder(BindingResult& result, size_t aliasBudget);

  void DocumentStart();
  void Scalar(const YamlScalarEvent& scalar);
  void SequenceStart(std::string_view anchor, YamlMark mark);
  void MappingStart(std::string_view anchor, YamlMark mark);
  void ContainerEnd();
  void Alias(std::string_view name, YamlMark mark);

 private:
  enum class StepKind : uint8_t { Element, Member };
  enum class NodeState : uint8_t { Value, OpenSequence, OpenMapping };

  // One step from the result value towards a node.
  struct PathStep {
    StepKind kind = StepKind::Element;
    size_t index = 0;
    std::string name;
  };

  // An entry of the node stack; the path to a node follows from the stack.
  // Entries are reused, so their anchors keep their storage.
  struct Frame {
    BindingProperty* target = nullptr;
    NodeState state = NodeState::Value;
    std::string anchor;  // of the open container this entry fills
  };

  struct Anchor {
    std::vector<PathStep> path;
    // Keys, and scalars that may stand as keys, keep their text.
    std::string text;
    bool isKey = false;
    bool textIsKey = false;
  };

  [[nodiscard]] Frame& Top() { return frames_[depth_ - 1]; }
  [[nodiscard]] bool KeyExpected() const;
  [[nodiscard]] BindingProperty& ChooseTarget();
  void Push(BindingProperty& target);
  void Pop();
  void OpenContainer(std::string_view anchor, YamlMark mark, NodeState state);
  void AliasAsKey(std::string_view name, const Anchor& anchor, YamlMark mark);
  void CopyAnchoredNode(std::string_view name, const Anchor& anchor, YamlMark mark);
  void RecordAnchor(std::string_view name, Anchor&& anchor, YamlMark mark);
  [[nodiscard]] std::vector<PathStep> CurrentPath() const;
  [[nodiscard]] const BindingProperty& Follow(const std::vector<PathStep>& path) const;
  [[nodiscard]] bool IsOpen(std::string_view anchorName) const;
  [[nodiscard]] bool IsOpenNode(const BindingProperty& node) const;

  BindingResult& result_;
  std::vector<Frame> frames_;
  size_t depth_ = 0;
  size_t openContainers_ = 0;
  std::string pendingKey_;
  bool keyPending_ = false;
  bool documentStarted_ = false;
  std::unordered_map<std::string, Anchor> anchors_;
  size_t aliasBudget_;
  size_t aliasValues_ = 0;
};

}  // namespace zun
