#include "engine/store/VarsStore.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include "dispatch/AutomationError.h"
#include "engine/converter/ValueText.h"

namespace tarvix::engine {

namespace {

constexpr int kFlushDelayMs = 1000;

// Opens (and closes when it goes) one connection to the store's file.
class Connection {
 public:
  Connection(const QString& name, const QString& path) : name_(name) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
    db.setDatabaseName(path);
    if (db.open()) {
      QSqlQuery(db).exec(QStringLiteral("CREATE TABLE IF NOT EXISTS vars (slot INTEGER PRIMARY KEY, value TEXT NOT NULL)"));
      open_ = true;
    }
  }
  ~Connection() { QSqlDatabase::removeDatabase(name_); }
  bool isOpen() const { return open_; }
  QSqlDatabase database() const { return QSqlDatabase::database(name_, false); }

 private:
  QString name_;
  bool open_ = false;
};

}  // namespace

VarsStore::VarsStore(QString persistFolder, int slotCount, int firstGroupCount)
    : slots_(std::size_t(qMax(1, slotCount))),
      firstGroupCount_(qBound(0, firstGroupCount, int(slots_.size()))),
      folder_(std::move(persistFolder)),
      connectionName_(QStringLiteral("vars-") + QUuid::createUuid().toString(QUuid::WithoutBraces)) {
  flushTimer_.setSingleShot(true);
  flushTimer_.setInterval(kFlushDelayMs);
  connect(&flushTimer_, &QTimer::timeout, this, [this] {
    if (!flush()) flushTimer_.start();
  });
  if (!folder_.isEmpty()) load();
}

VarsStore::~VarsStore() { flush(); }

QString VarsStore::databasePath() const { return QDir(folder_).filePath(QStringLiteral("Vars.db")); }

// A kept value that no longer reads back (a damaged row) is skipped: the slot
// starts empty rather than the whole store failing.
void VarsStore::load() {
  if (!QFile::exists(databasePath())) return;
  Connection connection(connectionName_, databasePath());
  if (!connection.isOpen()) return;
  QSqlQuery query(connection.database());
  if (!query.exec(QStringLiteral("SELECT slot, value FROM vars"))) return;
  while (query.next()) {
    const int index = query.value(0).toInt();
    if (index < 1 || index > firstGroupCount_) continue;
    try {
      slots_[std::size_t(index - 1)].value = textToValue(query.value(1).toString());
    } catch (const AutomationError&) {
    }
  }
}

bool VarsStore::flush() {
  if (pending_.isEmpty() || folder_.isEmpty()) return true;
  if (!QDir().mkpath(folder_)) return false;
  Connection connection(connectionName_, databasePath());
  if (!connection.isOpen()) return false;
  QSqlDatabase db = connection.database();
  db.transaction();
  QSqlQuery upsert(db);
  upsert.prepare(QStringLiteral("INSERT OR REPLACE INTO vars (slot, value) VALUES (?, ?)"));
  QSqlQuery remove(db);
  remove.prepare(QStringLiteral("DELETE FROM vars WHERE slot = ?"));
  bool ok = true;
  for (const int index : std::as_const(pending_)) {
    const Variant& value = slots_[std::size_t(index - 1)].value;
    if (value.isEmpty() || value.isObject()) {
      remove.addBindValue(index);
      ok = remove.exec() && ok;
      continue;
    }
    upsert.addBindValue(index);
    upsert.addBindValue(valueToText(value));
    ok = upsert.exec() && ok;
  }
  ok = ok && db.commit();
  if (!ok) {
    db.rollback();
    return false;
  }
  pending_.clear();
  return true;
}

VarsStore::Slot& VarsStore::slot(int index) {
  if (index < 1 || index > count()) raiseError(ErrorNumber::SubscriptOutOfRange);
  return slots_[std::size_t(index - 1)];
}

const VarsStore::Slot& VarsStore::slot(int index) const {
  if (index < 1 || index > count()) raiseError(ErrorNumber::SubscriptOutOfRange);
  return slots_[std::size_t(index - 1)];
}

const Variant& VarsStore::value(int index) const { return slot(index).value; }

void VarsStore::setValue(int index, const Variant& value) {
  Slot& target = slot(index);
  target.value = value.deref();
  target.changed = true;
  if (index <= firstGroupCount_ && !folder_.isEmpty()) {
    pending_.insert(index);
    if (!flushTimer_.isActive()) flushTimer_.start();
  }
}

bool VarsStore::changed(int index) const { return slot(index).changed; }
void VarsStore::setChanged(int index, bool changed) { slot(index).changed = changed; }
const QString& VarsStore::helpText(int index) const { return slot(index).help; }
void VarsStore::setHelpText(int index, const QString& text) { slot(index).help = text; }
const QString& VarsStore::macroText(int index) const { return slot(index).macro; }
void VarsStore::setMacroText(int index, const QString& text) { slot(index).macro = text; }
int VarsStore::attribute(int index) const { return slot(index).attribute; }
void VarsStore::setAttribute(int index, int bits) { slot(index).attribute = bits; }

void VarsStore::setAllAttributes(int bits) {
  for (Slot& each : slots_) each.attribute = bits;
}

void VarsStore::clearHelpTexts() {
  for (Slot& each : slots_) each.help.clear();
}

void VarsStore::clearMacroTexts() {
  for (Slot& each : slots_) each.macro.clear();
}

}  // namespace tarvix::engine
