#include "EditExportRun.h"

#include <QDir>
#include <QTemporaryDir>

const QString EditExportRun::kPieceFolderPrefix = QStringLiteral("clipwright-pieces-");

EditExportRun::EditExportRun(StartFunction start, RefusalFunction refuse)
    : _start(std::move(start)), _refuse(std::move(refuse)) {}

EditExportRun::~EditExportRun() = default; // a folder still held is removed with its contents

QString EditExportRun::pieceFolder() const {
    return _pieces ? _pieces->path() : QString();
}

bool EditExportRun::start(const EditExportSettings& settings, const std::vector<ExportContribution>& contributions,
                          JobRunner::FinishBlock finish) {
    if (_running)
        return false;
    if (const std::optional<QString> reason = EditExportPlan::refusal(settings)) {
        if (_refuse)
            _refuse(*reason);
        return false;
    }
    if (EditExportPlan::needsPieceFolder(settings)) {
        // Made readable by its owner only; removed with everything in it when the run ends.
        _pieces = std::make_unique<QTemporaryDir>(QDir(QDir::tempPath()).filePath(kPieceFolderPrefix + "XXXXXX"));
        if (!_pieces->isValid()) {
            _pieces.reset();
            if (_refuse)
                _refuse(QStringLiteral("PieceFolderUnavailableMessage"));
            return false;
        }
    }
    std::vector<JobStep> steps = EditExportPlan::steps(settings, contributions, pieceFolder());
    _stepCount = int(steps.size());
    _running = true;
    // The finish may come before the road returns, when the first job cannot be set up.
    auto finished = std::make_shared<bool>(false);
    std::weak_ptr<EditExportRun*> self = _self;
    const bool started = _start(std::move(steps), [self, finish, finished](bool success) {
        *finished = true;
        if (const std::shared_ptr<EditExportRun*> run = self.lock())
            (*run)->ended();
        if (finish)
            finish(success);
    });
    if (!started && !*finished)
        ended();
    return started;
}

void EditExportRun::ended() {
    _running = false;
    _pieces.reset();
}
