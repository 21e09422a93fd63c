#include "ui/mirovex_dialog.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>

#include "codepage/installed_list.h"
#include "codepage/transcoder.h"
#include "res/string_table.h"
#include "ui/about_dialog.h"
#include "ui/sample_file.h"
#include "ui/sync_scroll.h"

namespace {

// The panes show bytes as the system's narrow encoding reads them, whatever the chosen pair.
QString DisplayText(const std::string& bytes) {
  return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// Width in pixels of a line in the pane's font.
std::uint32_t MeasureLine(const CEditScroll& pane, const std::string& line) {
  if (line.empty()) return 0;
  return static_cast<std::uint32_t>(QFontMetrics(pane.font()).horizontalAdvance(DisplayText(line)));
}

void SetPaneText(CEditScroll& pane, const std::string& text) {
  // Lines are kept with "\r\n"; the text widget separates them by "\n" alone (a CR would start a
  // further line of its own).
  QString shown = DisplayText(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  pane.setPlainText(shown);
}

PaneScrollState ScrollStateOf(const CEditScroll& pane, std::uint32_t longest, std::uint32_t widest) {
  const QScrollBar* bar = pane.horizontalScrollBar();
  return {longest, widest, pane.viewport()->width(), bar->minimum(), bar->maximum(), bar->value()};
}

}  // namespace

CMirovexDialog::CMirovexDialog() : TemplateDialog(IDD_CONFIG) {
  connect(&m_cbSrc, &QComboBox::currentIndexChanged, this, [this] { OnSelChangeSrc(); });
  connect(&m_cbDst, &QComboBox::currentIndexChanged, this, [this] { OnSelChangeDst(); });
  FillInstalledCodePages();
}

CMirovexDialog::~CMirovexDialog() = default;

void CMirovexDialog::SetFilePath(std::string path) { m_strFilePath = std::move(path); }

void CMirovexDialog::DoDataExchange(ControlBinding& binding) {
  TemplateDialog::DoDataExchange(binding);
  BindControl(binding, IDC_COMBO_SRC, m_cbSrc);
  BindControl(binding, IDC_COMBO_DST, m_cbDst);
  BindControl(binding, IDC_EDIT_DST, m_editDst);
  BindControl(binding, IDC_EDIT_SRC, m_editSrc);
}

bool CMirovexDialog::OnInitDialog() {
  TemplateDialog::OnInitDialog();
  AddAboutEntryToSystemMenu();
  SampleFile sample;
  LoadSample(sample);
  FillCodePageLists();
  RefreshPreview();
  sample.Close();
  return true;  // the focus goes to the first control in tab order, OK
}

void CMirovexDialog::AddAboutEntryToSystemMenu() {
  SystemMenu* menu = GetSystemMenu();
  if (menu == nullptr) return;
  const std::string text = LoadResourceString(IDS_ABOUTBOX);
  if (text.empty()) return;
  menu->AppendSeparator();
  menu->AppendString(IDM_ABOUTBOX, QString::fromStdString(text));
}

void CMirovexDialog::LoadSample(SampleFile& file) {
  file.Open(m_strFilePath);
  int budget = kSampleLines;
  std::string line;
  while (file.ReadLine(line) && budget > 0) {
    m_nSrcMaxLen = std::max(m_nSrcMaxLen, static_cast<std::uint32_t>(line.size()));
    m_nSrcMaxWidth = std::max(m_nSrcMaxWidth, MeasureLine(m_editSrc, line));
    m_vecSampleLines.push_back(line);
    m_strSrcText += line;
    m_strSrcText += "\r\n";
    --budget;
  }
}

void CMirovexDialog::FillCodePageLists() {
  // Setting up the lists is not a choice of the user: no selection handler runs.
  const QSignalBlocker blockSource(m_cbSrc);
  const QSignalBlocker blockTarget(m_cbDst);
  for (const std::string& name : g_InstalledNames) {
    m_cbSrc.addItem(QString::fromStdString(name));
    m_cbDst.addItem(QString::fromStdString(name));
  }
  // A code page missing from the list shows position 0 yet stays the member's value.
  m_cbSrc.setCurrentIndex(FindInstalledIndex(m_nSrcCodePage));
  m_cbDst.setCurrentIndex(FindInstalledIndex(m_nDstCodePage));
  for (QComboBox* list : {&m_cbSrc, &m_cbDst}) list->lineEdit()->setCursorPosition(0);
}

void CMirovexDialog::OnSelChangeSrc() {
  m_nSrcCodePage = InstalledCodePageAt(m_cbSrc.currentIndex());
  RefreshPreview();
}

void CMirovexDialog::OnSelChangeDst() {
  m_nDstCodePage = InstalledCodePageAt(m_cbDst.currentIndex());
  RefreshPreview();
}

void CMirovexDialog::RefreshPreview() {
  SetPaneText(m_editSrc, m_strSrcText);
  m_strDstText.clear();
  m_nDstMaxLen = 0;
  m_nDstMaxWidth = 0;
  Transcoder transcoder;
  for (const std::string& line : m_vecSampleLines) {
    const std::string converted(transcoder.Convert(line, m_nSrcCodePage, m_nDstCodePage));
    m_nDstMaxLen = std::max(m_nDstMaxLen, static_cast<std::uint32_t>(converted.size()));
    m_nDstMaxWidth = std::max(m_nDstMaxWidth, MeasureLine(m_editDst, converted));
    m_strDstText += converted;
    m_strDstText += "\r\n";
  }
  SetPaneText(m_editDst, m_strDstText);
}

std::intptr_t CMirovexDialog::SyncScroll(std::uintptr_t wParam, std::intptr_t) {
  if (wParam != 1 && wParam != 2) return 0;
  const PaneScrollState source = ScrollStateOf(m_editSrc, m_nSrcMaxLen, m_nSrcMaxWidth);
  const PaneScrollState target = ScrollStateOf(m_editDst, m_nDstMaxLen, m_nDstMaxWidth);
  if (wParam == 1) {
    m_editDst.LineScroll(SyncScrollCharacters(source, target));
  } else {
    m_editSrc.LineScroll(SyncScrollCharacters(target, source));
  }
  return 0;
}

void CMirovexDialog::OnSysCommand(unsigned commandId, long lParam) {
  if ((commandId & 0xFFF0u) == IDM_ABOUTBOX) {
    CAboutDlg about;
    about.DoModal();
    return;
  }
  TemplateDialog::OnSysCommand(commandId, lParam);
}

bool CMirovexDialog::event(QEvent* event) {
  if (event->type() == static_cast<QEvent::Type>(WM_SYNCSCROLL)) {
    const auto* sync = static_cast<SyncScrollEvent*>(event);
    SyncScroll(sync->WParam(), sync->LParam());
    return true;
  }
  return TemplateDialog::event(event);
}
