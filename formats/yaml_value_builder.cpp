// The YAML reader's event handler: node stack, path, pending key, anchors and
// alias copies bounded in size and depth.
#include "formats/yaml_value_builder.h"

#include <algorithm>
#include <utility>

#include "formats/nesting_limit.h"
#include "formats/yaml_messages.h"
#include "formats/yaml_scalar_typing.h"

namespace zun {

namespace {

constexpr size_t kInitialFrames = 16;

struct TreeMeasure {
  size_t values = 0;
  size_t depth = 0;  // containers on the deepest branch
};

// Counts the values of `node` and the depth of its containers, giving up once
// the count passes `limit`; the recursion is bounded by the nesting limit
// that every tree of the reader keeps.
bool MeasureWithin(const BindingProperty& node, size_t limit, TreeMeasure& measure, size_t level) {
  if (++measure.values > limit) return false;
  const BindingKind kind = node.Kind();
  if (kind != BindingKind::Collection && kind != BindingKind::Structure) return true;
  measure.depth = std::max(measure.depth, level + 1);
  for (const BindingProperty& element : node.Elements()) {
    if (!MeasureWithin(element, limit, measure, level + 1)) return false;
  }
  for (const auto& member : node.Members()) {
    if (!MeasureWithin(member.value, limit, measure, level + 1)) return false;
  }
  return true;
}

bool IsStringTag(const char* tag) { return tag == nullptr || tag == kYamlStrTag; }

}  // namespace

YamlValueBuilder::YamlValueBuilder(BindingResult& result, size_t aliasBudget)
    : result_(result), aliasBudget_(aliasBudget) {
  frames_.resize(kInitialFrames);
  Push(result_.Value());
}

void YamlValueBuilder::DocumentStart() {
  if (documentStarted_) {
    result_.SetError(yaml_messages::kMultiDocument);
    return;
  }
  documentStarted_ = true;
}

// A key is expected where a mapping is open and holds no key yet. The empty
// text is a key like any other, so the flag, not the text, tells.
bool YamlValueBuilder::KeyExpected() const {
  return depth_ > 0 && frames_[depth_ - 1].state == NodeState::OpenMapping && !keyPending_;
}

BindingProperty& YamlValueBuilder::ChooseTarget() {
  // Pushing may move the frames, so only the container is kept.
  BindingProperty& container = *Top().target;
  const NodeState state = Top().state;
  if (state == NodeState::OpenSequence) {
    BindingProperty& element = container.Append();
    Push(element);
    return element;
  }
  if (state == NodeState::OpenMapping && keyPending_) {
    BindingProperty& member = container.Member(pendingKey_);
    Push(member);
    keyPending_ = false;
    return member;
  }
  return container;
}

void YamlValueBuilder::Push(BindingProperty& target) {
  if (depth_ == frames_.size()) frames_.resize(frames_.size() * 2);
  Frame& frame = frames_[depth_++];
  frame.target = &target;
  frame.state = NodeState::Value;
  frame.anchor.clear();
}

void YamlValueBuilder::Pop() {
  if (depth_ == 0) return;
  if (Top().state != NodeState::Value) --openContainers_;
  --depth_;
}

void YamlValueBuilder::Scalar(const YamlScalarEvent& scalar) {
  if (depth_ == 0) return;
  if (KeyExpected()) {
    if (!IsStringTag(scalar.tag)) {
      result_.SetError(yaml_messages::kInvalidMappingKey, scalar.mark.line, scalar.mark.column);
      return;
    }
    pendingKey_.assign(scalar.text);
    keyPending_ = true;
    // A key's anchor names its text; it does not mark the enclosing mapping,
    // whose own anchor keeps it marked as open.
    if (!scalar.anchor.empty()) RecordAnchor(scalar.anchor, Anchor{{}, pendingKey_, true, true}, scalar.mark);
    return;
  }
  BindingProperty& target = ChooseTarget();
  YamlScalarToValue(result_, target, scalar.text, scalar.tag, scalar.quoted);
  if (!result_.Ok()) return;
  if (!scalar.anchor.empty()) {
    const bool textIsKey = IsStringTag(scalar.tag);
    Anchor anchor{CurrentPath(), textIsKey ? std::string(scalar.text) : std::string(), false, textIsKey};
    RecordAnchor(scalar.anchor, std::move(anchor), scalar.mark);
    if (!result_.Ok()) return;
  }
  Pop();
}

void YamlValueBuilder::SequenceStart(std::string_view anchor, YamlMark mark) {
  if (KeyExpected()) {
    result_.SetError(yaml_messages::kUnexpectedSequence, mark.line, mark.column);
    return;
  }
  OpenContainer(anchor, mark, NodeState::OpenSequence);
}

void YamlValueBuilder::MappingStart(std::string_view anchor, YamlMark mark) {
  if (KeyExpected()) {
    result_.SetError(yaml_messages::kUnexpectedMapping, mark.line, mark.column);
    return;
  }
  OpenContainer(anchor, mark, NodeState::OpenMapping);
}

// An existing container of the same kind keeps its contents, so a key given
// twice merges its values.
void YamlValueBuilder::OpenContainer(std::string_view anchor, YamlMark mark, NodeState state) {
  if (depth_ == 0) return;
  if (openContainers_ >= kMaxNestingDepth) {
    result_.SetError(yaml_messages::kNestingTooDeep, kMaxNestingDepth, mark.line, mark.column);
    return;
  }
  BindingProperty& target = ChooseTarget();
  if (state == NodeState::OpenSequence) {
    target.MakeCollection();
  } else {
    target.MakeStructure();
  }
  Top().state = state;
  ++openContainers_;
  if (!anchor.empty()) {
    RecordAnchor(anchor, Anchor{CurrentPath(), {}, false, false}, mark);
    if (!result_.Ok()) return;
    Top().anchor.assign(anchor);
  }
}

void YamlValueBuilder::ContainerEnd() { Pop(); }

void YamlValueBuilder::Alias(std::string_view name, YamlMark mark) {
  if (depth_ == 0) return;
  if (IsOpen(name)) {
    result_.SetError(yaml_messages::kCyclicAlias, name, mark.line, mark.column);
    return;
  }
  const auto found = anchors_.find(std::string(name));
  if (found == anchors_.end()) {
    result_.SetError(yaml_messages::kUndefinedAlias, name, mark.line, mark.column);
    return;
  }
  if (KeyExpected()) {
    AliasAsKey(name, found->second, mark);
  } else {
    CopyAnchoredNode(name, found->second, mark);
  }
}

// Only text can be a key: the text of an anchored key, or of an anchored
// scalar that was untagged or tagged as a string.
void YamlValueBuilder::AliasAsKey(std::string_view name, const Anchor& anchor, YamlMark mark) {
  if (!anchor.textIsKey) {
    result_.SetError(yaml_messages::kAliasKeyNotString, name, mark.line, mark.column);
    return;
  }
  pendingKey_ = anchor.text;
  keyPending_ = true;
}

void YamlValueBuilder::CopyAnchoredNode(std::string_view name, const Anchor& anchor, YamlMark mark) {
  BindingProperty& target = ChooseTarget();
  if (anchor.isKey) {
    target.SetString(anchor.text);
    Pop();
    return;
  }
  const BindingProperty& source = Follow(anchor.path);
  // A path may lead into a container that is open again (a key given twice).
  if (IsOpenNode(source)) {
    result_.SetError(yaml_messages::kCyclicAlias, name, mark.line, mark.column);
    return;
  }
  TreeMeasure measure;
  if (!MeasureWithin(source, aliasBudget_ - aliasValues_, measure, 0)) {
    result_.SetError(yaml_messages::kAliasBudgetExceeded, name, aliasBudget_, mark.line, mark.column);
    return;
  }
  if (openContainers_ + measure.depth > kMaxNestingDepth) {
    result_.SetError(yaml_messages::kAliasTooDeep, name, kMaxNestingDepth, mark.line, mark.column);
    return;
  }
  aliasValues_ += measure.values;
  target = source;
  Pop();
}

void YamlValueBuilder::RecordAnchor(std::string_view name, Anchor&& anchor, YamlMark mark) {
  const bool inserted = anchors_.try_emplace(std::string(name), std::move(anchor)).second;
  if (!inserted) result_.SetError(yaml_messages::kDuplicateAnchor, name, mark.line, mark.column);
}

// The path is worked out from the stack only when an anchor needs it, so
// building a node costs no copy of its key.
std::vector<YamlValueBuilder::PathStep> YamlValueBuilder::CurrentPath() const {
  std::vector<PathStep> path(depth_ - 1);
  for (size_t i = 1; i < depth_; ++i) {
    const BindingProperty& parent = *frames_[i - 1].target;
    const BindingProperty* child = frames_[i].target;
    PathStep& step = path[i - 1];
    if (parent.Kind() == BindingKind::Collection) {
      step.kind = StepKind::Element;
      step.index = static_cast<size_t>(child - parent.Elements().data());
      continue;
    }
    step.kind = StepKind::Member;
    for (const auto& member : parent.Members()) {
      if (&member.value != child) continue;
      step.name = member.name;
      break;
    }
  }
  return path;
}

// A step that finds nothing gives the shared empty value.
const BindingProperty& YamlValueBuilder::Follow(const std::vector<PathStep>& path) const {
  const BindingProperty* node = &std::as_const(result_).Value();
  for (const PathStep& step : path) {
    node = step.kind == StepKind::Element ? &node->Element(step.index) : &node->Member(step.name);
  }
  return *node;
}

bool YamlValueBuilder::IsOpen(std::string_view anchorName) const {
  return std::any_of(frames_.begin(), frames_.begin() + static_cast<std::ptrdiff_t>(depth_),
                     [&](const Frame& frame) { return !frame.anchor.empty() && frame.anchor == anchorName; });
}

bool YamlValueBuilder::IsOpenNode(const BindingProperty& node) const {
  return std::any_of(frames_.begin(), frames_.begin() + static_cast<std::ptrdiff_t>(depth_),
                     [&](const Frame& frame) { return frame.state != NodeState::Value && frame.target == &node; });
}

}  // namespace zun
