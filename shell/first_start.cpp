#include "shell/first_start.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QProgressDialog>
#include <QRegularExpression>
#include <cstdio>
#include <filesystem>
#ifdef __linux__
#include <sys/prctl.h>

#include <csignal>
#endif

#include "data/data_root.h"
#include "media/qt_language.h"
#include "shell/cab_window.h"

namespace velimoro::shell {

std::optional<std::string> renderDemoOnFirstStart(bool unattended) {
  const QString generator = QCoreApplication::applicationDirPath() + "/velimoro-content";
  const std::filesystem::path root = userDataRoot();
  if (root.empty() || !QFileInfo(generator).isExecutable()) return std::nullopt;

  const QString intro =
      QCoreApplication::translate(
          "velimoro::shell::FirstStart",
          "初めての起動です。デモの路線と車両を %1 に作成しています（数分かかります）。")
          .arg(QString::fromStdString(root.string()));
  QProcess process;
  process.setProgram(generator);
  // The generator speaks the window's language, whatever its own settings would choose.
  process.setArguments({QStringLiteral("--user"), QStringLiteral("--lang"),
                        QString::fromLatin1(media::languageCode(media::currentLanguage()))});
#ifdef __linux__
  // The rendering ends with the window, however the window ends; the next start begins anew.
  process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
#endif
  QProgressDialog dialog(intro, QCoreApplication::translate("velimoro::shell::FirstStart", "中止"),
                         0, 0);
  dialog.setWindowTitle(programTitle());
  dialog.setMinimumDuration(0);
  dialog.setMinimumWidth(560);
  // Each route video fills the bar anew; it must not close the dialog.
  dialog.setAutoClose(false);
  dialog.setAutoReset(false);
  if (unattended) {
    std::fprintf(stderr, "%s\n", intro.toUtf8().constData());
  } else {
    dialog.show();
  }

  // The generator prints a line a step; a route video's lines count its frames.
  QEventLoop loop;
  QString errors;
  QObject::connect(&process, &QProcess::readyReadStandardOutput, [&] {
    while (process.canReadLine()) {
      const QString line = QString::fromUtf8(process.readLine()).trimmed();
      if (unattended) {
        std::fprintf(stderr, "%s\n", line.toUtf8().constData());
        continue;
      }
      dialog.setLabelText(intro + "\n" + line);
      if (const auto count = renderedFrames(line)) {
        dialog.setRange(0, count->second);
        dialog.setValue(count->first);
      } else {
        dialog.setRange(0, 0);
      }
    }
  });
  QObject::connect(&process, &QProcess::readyReadStandardError,
                   [&] { errors += QString::fromUtf8(process.readAllStandardError()); });
  QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
  QObject::connect(&dialog, &QProgressDialog::canceled, &process, &QProcess::kill);
  process.start();
  if (process.waitForStarted()) loop.exec();
  dialog.hide();

  if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0 &&
      holdsUiStrings(root))
    return root.string();
  if (dialog.wasCanceled()) return std::string();
  const QString why =
      QCoreApplication::translate("velimoro::shell::FirstStart", "デモの作成に失敗しました。\n%1")
          .arg(errors.trimmed().isEmpty() ? process.errorString() : errors.trimmed());
  if (unattended) {
    std::fprintf(stderr, "message: %s\n", why.toUtf8().constData());
  } else {
    QMessageBox::critical(nullptr, programTitle(), why);
  }
  return std::string();
}

std::optional<std::pair<int, int>> renderedFrames(const QString& line) {
  // "12/300" and one word after it at the line's end: "frames", "フレーム".
  static const QRegularExpression count(QStringLiteral("(\\d+)/(\\d+) \\S+$"));
  const QRegularExpressionMatch match = count.match(line);
  if (!match.hasMatch()) return std::nullopt;
  return std::pair{match.captured(1).toInt(), match.captured(2).toInt()};
}

}  // namespace velimoro::shell
