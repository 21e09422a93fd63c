// The configuration dialog: two lists of the installed code pages and two panes that preview the
// first lines of the file, as stored (left) and converted with the chosen pair (right).
#pragma once

#include <QComboBox>
#include <cstdint>
#include <string>
#include <vector>

#include "codepage/code_page.h"
#include "ui/edit_scroll.h"
#include "ui/template_dialog.h"

class SampleFile;

class CMirovexDialog : public TemplateDialog {
  Q_OBJECT

 public:
  // Fills the catalogue's list of installed code pages as its last step; creates no window.
  CMirovexDialog();
  ~CMirovexDialog() override;

  void SetFilePath(std::string path);
  // Shows the sample in the source pane and its conversion with the current pair in the target
  // pane, measuring the converted lines anew.
  void RefreshPreview();
  // Moves the pane that was not scrolled after the other one (wParam 1: source, 2: target) by
  // the difference of their offsets in characters. Always 0.
  std::intptr_t SyncScroll(std::uintptr_t wParam, std::intptr_t lParam);
  // The About entry opens the About box; every other command gets the default handling.
  void OnSysCommand(unsigned commandId, long lParam) override;

  // Set by the caller before DoModal, read by it after IDOK.
  CodePage m_nSrcCodePage = 932;
  CodePage m_nDstCodePage = 936;

 protected:
  void DoDataExchange(ControlBinding& binding) override;
  bool OnInitDialog() override;
  bool event(QEvent* event) override;
  void OnSelChangeSrc();
  void OnSelChangeDst();

  std::string m_strFilePath;
  std::vector<std::string> m_vecSampleLines;  // at most the first 10 lines, without line ends
  std::string m_strSrcText;                   // each sample line followed by "\r\n"
  std::string m_strDstText;                   // each converted line followed by "\r\n"
  std::uint32_t m_nSrcMaxLen = 0;             // longest sample line, in bytes
  std::uint32_t m_nDstMaxLen = 0;             // longest converted line, in bytes
  std::uint32_t m_nSrcMaxWidth = 0;           // widest sample line, in pixels
  std::uint32_t m_nDstMaxWidth = 0;           // widest converted line, in pixels
  QComboBox m_cbSrc;
  QComboBox m_cbDst;
  CEditScroll m_editDst{2};
  CEditScroll m_editSrc{1};

 private:
  static constexpr int kSampleLines = 10;

  void AddAboutEntryToSystemMenu();
  void LoadSample(SampleFile& file);
  void FillCodePageLists();
};
