// Simulated windows: control state in memory, events raised as the real
// controls raise them for the same action.
#include <algorithm>

#include "platform/Forms.h"
#include "platform/Keys.h"
#include "platform/shared/FormRules.h"
#include "platform/shared/PictureHeader.h"
#include "platform/sim/Sim.h"

namespace platform {

struct Form::Impl {
  const FormLayout& layout;
  FormEvents& events;
  sim::FormState state;

  sim::ControlState& At(int i) { return state.controls.at(static_cast<std::size_t>(i)); }

  ControlKind Kind(int i) const { return layout.controls[i].kind; }

  bool CanFocus(int i) { return CanTakeFocus(layout.controls[i], At(i).visible, At(i).enabled); }

  void MoveFocus(int i) {
    if (state.focus == i) return;
    state.focus = i;
    events.OnFocus(i);
  }
};

// The simulation's user actions reach a window's state through this.
struct FormAccess {
  static Form::Impl& Of(Form& form) { return form.impl(); }
};

namespace {

Form* activeForm = nullptr;

// The simulated screen has 96 dots per inch: a pixel is 15 twips.
constexpr int kDpi = 96;

float WholePixels(float twips) { return PixelsToTwips(TwipsToPixels(twips, kDpi), kDpi); }

// Activation moves between the program's own windows; one coming from
// another program (or from none) is no activation, but for a window's very
// first, and a window left for another program is not deactivated.
void MakeActive(Form* form) {
  Form* previous = activeForm;
  if (previous == form) return;
  activeForm = form;
  if (previous && form) FormAccess::Of(*previous).events.OnDeactivate();
  if (!form) return;
  sim::FormState& state = FormAccess::Of(*form).state;
  if (previous || !state.activatedOnce) FormAccess::Of(*form).events.OnActivate();
  state.activatedOnce = true;
}

}  // namespace

Form::Form(const FormLayout& layout, FormEvents& events)
    : impl_(new Impl{.layout = layout, .events = events, .state = sim::FormState{}}) {}

namespace {

void StopTimers(Form* form, int id = -1) {
  auto& timers = sim::TheWorld().timers;
  timers.erase(std::remove_if(timers.begin(), timers.end(),
                              [form, id](const sim::Timer& t) {
                                return t.form == form && (id == -1 || t.id == id);
                              }),
               timers.end());
}

}  // namespace

Form::~Form() {
  if (activeForm == this) activeForm = nullptr;
  StopTimers(this);
}

void Form::StartTimer(int timer, unsigned ms) {
  StopTimers(this, timer);
  sim::TheWorld().timers.push_back({.form = this, .id = timer, .due = sim::TheWorld().now + ms});
}

void Form::StopTimer(int timer) { StopTimers(this, timer); }

Form* Form::ActiveForm() { return activeForm; }

bool Form::Create() {
  Impl& m = *impl_;
  if (sim::TheWorld().windowsCannotBeCreated) return false;
  m.state = sim::FormState{};
  m.state.created = true;
  m.state.title = m.layout.caption;
  // Made smaller, in proportion, where the window would not fit the screen.
  const Area& work = sim::TheWorld().workArea;
  const float scale = FitScale(
      {static_cast<float>(m.layout.clientWidth), static_cast<float>(m.layout.clientHeight)},
      {sim::kFrameWidth, sim::kFrameHeight}, work);
  m.state.width =
      PixelsToTwips(ScaledPixels(m.layout.clientWidth, kDpi, scale), kDpi) + sim::kFrameWidth;
  m.state.height =
      PixelsToTwips(ScaledPixels(m.layout.clientHeight, kDpi, scale), kDpi) + sim::kFrameHeight;
  m.state.controls.resize(static_cast<std::size_t>(m.layout.controlCount));
  for (int i = 0; i < m.layout.controlCount; ++i) {
    const ControlLayout& c = m.layout.controls[i];
    sim::ControlState& state = m.At(i);
    state.visible = !c.hidden;
    state.left = WholePixels(scale * static_cast<float>(c.left));
    state.top = WholePixels(scale * static_cast<float>(c.top));
    state.width = WholePixels(scale * static_cast<float>(c.left + c.width)) - state.left;
    state.height = WholePixels(scale * static_cast<float>(c.top + c.height)) - state.top;
  }
  return true;
}

void Form::Unload() {
  if (activeForm == this) activeForm = nullptr;
  StopTimers(this);
  impl_->state = sim::FormState{};
}

bool Form::IsVisible() const { return impl_->state.shown; }

void Form::Hide() {
  Impl& m = *impl_;
  if (!m.state.shown) return;
  m.state.shown = false;
  if (activeForm != this) return;
  // The owner takes over when it can; otherwise no window of the program is active.
  Form* owner = m.state.owner;
  if (owner && FormAccess::Of(*owner).state.shown && FormAccess::Of(*owner).state.enabled)
    MakeActive(owner);
  else
    activeForm = nullptr;
}

void Form::ShowOwned(Form& owner) {
  impl_->state.owner = &owner;
  Show();
}

void Form::SetWindowEnabled(bool enabled) { impl_->state.enabled = enabled; }
bool Form::WindowEnabled() const { return impl_->state.enabled; }

void Form::Activate() {
  if (impl_->state.shown && impl_->state.enabled) MakeActive(this);
}

float Form::Width() const { return impl_->state.width; }
float Form::Height() const { return impl_->state.height; }

void Form::SetSize(float width, float height) {
  // A sizable window is never made smaller than its minimum size.
  const Extent least =
      impl_->layout.sizable ? impl_->events.MinimumSize() : Extent{.width = 0, .height = 0};
  impl_->state.width =
      std::max(WholePixels(width), PixelsToTwips(PixelsToHold(least.width, kDpi), kDpi));
  impl_->state.height =
      std::max(WholePixels(height), PixelsToTwips(PixelsToHold(least.height, kDpi), kDpi));
  impl_->events.OnResize();
}

Extent Form::FrameSize() const { return {.width = sim::kFrameWidth, .height = sim::kFrameHeight}; }
// A simulated window stands at the top left corner of the work area.
Extent Form::RoomOnScreen() const {
  return {.width = sim::TheWorld().workArea.width, .height = sim::TheWorld().workArea.height};
}
float Form::PixelSize() const { return 15; }

Extent Form::ContentSize(int control) const {
  const sim::ControlState& c = impl_->At(control);
  const sim::World& world = sim::TheWorld();
  const float caption = static_cast<float>(c.text.size()) * world.charWidth;
  switch (impl_->Kind(control)) {
    case ControlKind::Button:
      return {.width = caption + sim::kButtonEdges, .height = world.lineHeight + sim::kButtonEdges};
    case ControlKind::Label:
      return {.width = caption, .height = c.text.empty() ? 0 : world.lineHeight};
    case ControlKind::ListBox: {
      std::size_t widest = 0;
      for (std::size_t i = 0; i < c.items.size() && i < kMeasuredEntries; ++i)
        widest = std::max(widest, c.items[i].size());
      return {.width = static_cast<float>(widest) * world.charWidth + sim::kEntryMargins +
                       sim::kScrollBarWidth + sim::kBoxEdges,
              .height = world.lineHeight + sim::kBoxEdges};
    }
    case ControlKind::TextBox:
      return {.width = 0, .height = world.lineHeight + sim::kBoxEdges};
    default:
      return {.width = 0, .height = 0};
  }
}

Form::Rect Form::ControlRect(int control) const {
  const sim::ControlState& c = impl_->At(control);
  return {.left = c.left, .top = c.top, .width = c.width, .height = c.height};
}

// Each edge falls on its own nearest pixel, as on the screen.
void Form::SetControlRect(int control, const Rect& r) {
  sim::ControlState& c = impl_->At(control);
  c.left = WholePixels(r.left);
  c.top = WholePixels(r.top);
  c.width = WholePixels(r.left + r.width) - c.left;
  c.height = WholePixels(r.top + r.height) - c.top;
}

bool Form::IsCreated() const { return impl_->state.created; }

void Form::Show() {
  Impl& m = *impl_;
  if (!m.state.created || m.state.shown) return;
  m.state.shown = true;
  m.events.OnResize();
  MakeActive(this);
  // The first control in tab order that can take the focus gets it.
  const int first = FirstInTabOrder(m.layout, [&m](int i) { return m.CanFocus(i); });
  if (first >= 0) m.MoveFocus(first);
}

void Form::SetTitle(const std::wstring& title) { impl_->state.title = title; }
int Form::ControlCount() const { return impl_->layout.controlCount; }

void Form::SetText(int control, const std::wstring& whole) {
  const std::wstring text = whole.substr(0, whole.find(L'\0'));  // as a window's text ends
  impl_->At(control).text = text;
  if (impl_->Kind(control) == ControlKind::TextBox) sim::TheWorld().log.push_back(L"text:" + text);
  if (impl_->Kind(control) == ControlKind::TextBox) impl_->events.OnTextChange(control);
}

std::wstring Form::Text(int control) const { return impl_->At(control).text; }
void Form::SetVisible(int control, bool visible) { impl_->At(control).visible = visible; }
bool Form::Visible(int control) const { return impl_->At(control).visible; }
void Form::SetEnabled(int control, bool enabled) { impl_->At(control).enabled = enabled; }
bool Form::Enabled(int control) const { return impl_->At(control).enabled; }
void Form::SetFocus(int control) {
  if (impl_->CanFocus(control)) impl_->MoveFocus(control);
}

void Form::BeginFill(int control) { ++impl_->At(control).fillDepth; }
void Form::EndFill(int control) { --impl_->At(control).fillDepth; }
void Form::AddItem(int control, const std::wstring& text) {
  impl_->At(control).items.push_back(text);
}
int Form::ItemCount(int control) const { return static_cast<int>(impl_->At(control).items.size()); }
std::wstring Form::ItemText(int control, int item) const {
  const auto& items = impl_->At(control).items;
  return item >= 0 && item < static_cast<int>(items.size()) ? items[static_cast<std::size_t>(item)]
                                                            : std::wstring();
}
int Form::SelectedIndex(int control) const { return impl_->At(control).selected; }

void Form::ClearPicture(int control) {
  impl_->At(control).picture.clear();
  sim::TheWorld().log.push_back(L"picture:");
}

bool Form::LoadPicture(int control, const std::wstring& file) {
  sim::ControlState& c = impl_->At(control);
  c.picture.clear();
  const sim::Entry* e = sim::FindEntry(file);
  if (e == nullptr || e->folder || e->locked || !sim::LooksLikePicture(e->bytes)) return false;
  c.picture = file;
  sim::TheWorld().log.push_back(L"picture:" + file);
  return true;
}

struct Picture::Data {
  std::wstring file;
};

Picture::Picture() = default;
Picture::Picture(std::unique_ptr<Data> data, int width, int height)
    : data_(std::move(data)), width_(width), height_(height) {}
Picture::~Picture() = default;
Picture::Picture(Picture&&) noexcept = default;
Picture& Picture::operator=(Picture&&) noexcept = default;

Picture DecodePicture(const std::wstring& file, int width, int height) {
  const sim::Entry* e = sim::FindEntry(file);
  sim::AccessDisc(file, e ? e->bytes.size() : 0);
  if (e == nullptr || e->folder || e->locked || !sim::LooksLikePicture(e->bytes) || width <= 0 ||
      height <= 0)
    return Picture();
  return Picture(std::unique_ptr<Picture::Data>(new Picture::Data{.file = file}), width, height);
}

int Form::PictureWidth(int control) const { return TwipsToPixels(impl_->At(control).width, kDpi); }
int Form::PictureHeight(int control) const {
  return TwipsToPixels(impl_->At(control).height, kDpi);
}

void Form::ShowPicture(int control, std::shared_ptr<const Picture> picture) {
  const Picture::Data* shown = picture ? picture->data() : nullptr;
  impl_->At(control).picture = shown ? shown->file : std::wstring();
  sim::TheWorld().log.push_back(L"picture:" + impl_->At(control).picture);
}

}  // namespace platform

namespace sim {

void RaiseTimer(platform::Form& form, int timer) {
  platform::FormAccess::Of(form).events.OnTimer(timer);
}

bool LooksLikePicture(const std::string& bytes) {
  platform::PictureHeader header;
  return platform::WorthDecoding(platform::MemoryBytes(bytes), header);
}

const FormState& StateOf(platform::Form& form) { return platform::FormAccess::Of(form).state; }

void Click(platform::Form& form, int control) {
  auto& m = platform::FormAccess::Of(form);
  if (!m.state.enabled) return;  // a disabled window takes no input
  if (m.At(control).visible && m.At(control).enabled) m.events.OnClick(control);
}

void Select(platform::Form& form, int control, int item) {
  auto& m = platform::FormAccess::Of(form);
  if (m.At(control).selected == item) return;
  m.At(control).selected = item;
  m.events.OnSelectionChange(control);
}

void RequestClose(platform::Form& form) { platform::FormAccess::Of(form).events.OnCloseRequest(); }

void Resize(platform::Form& form, float width, float height) { form.SetSize(width, height); }

namespace {

using platform::kKeyDown;
using platform::kKeyEscape;
using platform::kKeyReturn;
using platform::kKeySpace;
using platform::kKeyTab;
using platform::kKeyUp;

bool IsButton(platform::Form::Impl& m, int control) {
  return control >= 0 && m.Kind(control) == platform::ControlKind::Button;
}

void ClickIfUsable(platform::Form::Impl& m, int control) {
  if (control >= 0 && m.At(control).visible && m.At(control).enabled) m.events.OnClick(control);
}

void MoveFocusByTab(platform::Form::Impl& m, bool backwards) {
  std::vector<int> order = platform::TabOrder(m.layout);
  order.erase(std::remove_if(order.begin(), order.end(), [&m](int i) { return !m.CanFocus(i); }),
              order.end());
  if (order.empty()) return;
  auto at = std::find(order.begin(), order.end(), m.state.focus);
  std::size_t k = at == order.end() ? 0 : static_cast<std::size_t>(at - order.begin());
  k = backwards ? (k + order.size() - 1) % order.size()
                : (at == order.end() ? 0 : (k + 1) % order.size());
  m.MoveFocus(order[k]);
}

}  // namespace

void PressKey(platform::Form& form, int virtualKey, int shift) {
  auto& m = platform::FormAccess::Of(form);
  if (!m.state.enabled || !m.state.shown) return;  // keys go to enabled windows on screen
  const int focus = m.state.focus;
  switch (virtualKey) {
    case kKeyReturn:
      ClickIfUsable(m, IsButton(m, focus) ? focus : m.layout.defaultButton);
      break;
    case kKeyEscape:
      ClickIfUsable(m, m.layout.cancelButton);
      break;
    case kKeySpace:
      if (IsButton(m, focus)) ClickIfUsable(m, focus);
      break;
    case kKeyUp:
    case kKeyDown:
      if (focus >= 0 && m.Kind(focus) == platform::ControlKind::ListBox) {
        const int count = static_cast<int>(m.At(focus).items.size());
        const int current = m.At(focus).selected;
        int next = virtualKey == kKeyDown ? current + 1 : current - 1;
        if (current < 0) next = 0;
        next = std::max(0, std::min(next, count - 1));
        if (count > 0) Select(form, focus, next);
      }
      break;
    case kKeyTab:
      MoveFocusByTab(m, (shift & platform::kShiftMask) != 0);
      break;
    default:
      break;
  }
  if (m.layout.keyPreview) m.events.OnKeyUp(virtualKey, shift);
}

}  // namespace sim
