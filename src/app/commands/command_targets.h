#pragma once

// How a row of the command table names the code it runs: `run<&Class::operation>` runs the
// operation on the window's one object of that class (with the given arguments, if any), and
// `when<&Class::query>` reads an enabling or check rule the same way. Each row thus names its
// code itself; the objects a command can run on are listed once, below.

namespace verbanta {
class Document;
class EditSession;
class FindClipboard;
class LanguagesMarks;
class ListSelection;
class PanelEditor;
class RowEditing;
class TimingTools;
}  // namespace verbanta

class QWidget;

namespace verbanta::app {

class CCaptionView;
class CMainFrame;
class CPlayerView;
class DocumentHost;
class TimingStrip;

/// The window's one object of a class that commands run on.
template <class Target>
Target& commandTarget(CMainFrame& frame);

template <>
CMainFrame& commandTarget(CMainFrame& frame);
/// The main window through the class that declares its `close`.
template <>
QWidget& commandTarget(CMainFrame& frame);
template <>
CPlayerView& commandTarget(CMainFrame& frame);
template <>
CCaptionView& commandTarget(CMainFrame& frame);
template <>
DocumentHost& commandTarget(CMainFrame& frame);
template <>
Document& commandTarget(CMainFrame& frame);
template <>
EditSession& commandTarget(CMainFrame& frame);
template <>
PanelEditor& commandTarget(CMainFrame& frame);
template <>
RowEditing& commandTarget(CMainFrame& frame);
template <>
ListSelection& commandTarget(CMainFrame& frame);
template <>
TimingTools& commandTarget(CMainFrame& frame);
template <>
FindClipboard& commandTarget(CMainFrame& frame);
template <>
LanguagesMarks& commandTarget(CMainFrame& frame);
template <>
TimingStrip& commandTarget(CMainFrame& frame);

namespace detail {
template <class>
struct OperationOf;
template <class R, class C, class... A>
struct OperationOf<R (C::*)(A...)> {
    using Target = C;
};
template <class R, class C, class... A>
struct OperationOf<R (C::*)(A...) const> {
    using Target = C;
};
template <auto operation>
using TargetOf = typename detail::OperationOf<decltype(operation)>::Target;
}  // namespace detail

/// A command's handler: the operation on its object; what it returns is not needed.
template <auto operation, auto... arguments>
void run(CMainFrame& frame)
{
    (commandTarget<detail::TargetOf<operation>>(frame).*operation)(arguments...);
}

/// A command's enabling or check rule: the query on its object.
template <auto query>
bool when(CMainFrame& frame)
{
    return (commandTarget<detail::TargetOf<query>>(frame).*query)();
}

}  // namespace verbanta::app
