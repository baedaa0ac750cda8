#include "outline/OutlineModes.h"

#include "base/Exceptions.h"
#include "outline/FloatText.h"
#include "outline/MathParser.h"
#include "outline/TreeView.h"
#include "platform/ErrorBox.h"

#include <QFont>
#include <QLocale>
#include <QString>

#include <numbers>
#include <ostream>

namespace outlinemodes {

namespace {

struct TVariable {
  QString Name; // folded to one case
  long double Value = 0;
};

bool ParseVariable(const std::string& text, TVariable& variable)
{
  size_t eq = text.find('=');
  if (eq == std::string::npos || eq == 0)
    return false;
  variable.Name = QString::fromStdString(text.substr(0, eq)).toCaseFolded();
  return floattext::TextToFloat(std::string_view(text).substr(eq + 1), variable.Value);
}

// Restores the default locale when a mode that switched to the C locale ends.
class TCLocale {
public:
  TCLocale() : FPrevious(QLocale()) { QLocale::setDefault(QLocale::c()); }
  ~TCLocale() { QLocale::setDefault(FPrevious); }

private:
  QLocale FPrevious;
};

} // namespace

int EvalFormula(const std::string& formula, const std::vector<std::string>& variables,
                std::ostream& out, std::ostream& err)
{
  std::vector<TVariable> known(variables.size());
  for (size_t i = 0; i < variables.size(); ++i)
    if (!ParseVariable(variables[i], known[i])) {
      err << "invalid variable \"" << variables[i] << "\": expected NAME=VALUE\n";
      return 2;
    }
  TqvMathParser parser;
  parser.ParseString = formula;
  parser.OnGetVar = [&](QObject*, const std::string& name, long double& value, bool& found) {
    const QString folded = QString::fromStdString(name).toCaseFolded();
    for (const TVariable& v : known) // the first definition counts
      if (v.Name == folded) {
        value = v.Value;
        found = true;
        return;
      }
    if (folded == u"pi") {
      value = std::numbers::pi_v<long double>;
      found = true;
    }
  };
  parser.Evaluate();
  if (parser.HasError) {
    out << "error code=" << int(parser.ErrorCode) << " pos=" << parser.ErrorPosition << "\n";
    return 1;
  }
  out << "value=" << floattext::FormatGeneral(parser.Value) << "\n";
  return 0;
}

int PrintOutline(const std::string& fileName, std::ostream& out, std::ostream& err)
{
  TCLocale numbers;
  TqvTreeView view;
  int result = 0;
  try {
    view.LoadFromFile(fileName);
    view.EvaluateAll();
  } catch (const ELumoraError& e) {
    err << "error: " << e.what() << "\n";
    result = 1;
  }
  const QByteArray text = view.TreeText();
  out.write(text.constData(), text.size());
  out.flush();
  return result;
}

std::unique_ptr<TqvTreeView> NewTreeWindow(const std::string& fileName)
{
  auto view = std::make_unique<TqvTreeView>();
  view->SetFormuleColor(clPurple);
  view->setFont(QFont("Arial", 10));
  view->setWindowTitle(QString::fromStdString(fileName));
  view->resize(480, 720);
  CallGuarded([&] {
    view->LoadFromFile(fileName);
    view->Filename = fileName;
    view->EvaluateAll();
  });
  view->expandAll();
  return view;
}

} // namespace outlinemodes
