#include "mail/forms/keyring.h"

#include <libsecret/secret.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace vistrel {

namespace {

constexpr int kWaitMs = 10000;

const SecretSchema* Schema() {
  static const SecretSchema schema = {
      "org.vistrel.Pro.SmtpPassword",
      SECRET_SCHEMA_NONE,
      {{"server", SECRET_SCHEMA_ATTRIBUTE_STRING}, {"user", SECRET_SCHEMA_ATTRIBUTE_STRING}, {nullptr, {}}},
      0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
  return &schema;
}

// One asynchronous call's outcome, filled by its callback.
struct Pending {
  bool done = false;
  GAsyncResult* result = nullptr;
};

void Finished(GObject*, GAsyncResult* result, gpointer data) {
  auto* pending = static_cast<Pending*>(data);
  pending->result = G_ASYNC_RESULT(g_object_ref(result));
  pending->done = true;
}

// Runs the event loop until the call ends; a service that does not answer
// in time is cancelled (its callback still comes, and is waited for).
void Await(Pending& pending, GCancellable* cancellable) {
  QElapsedTimer timer;
  timer.start();
  while (!pending.done) {
    if (timer.elapsed() > kWaitMs) g_cancellable_cancel(cancellable);
    QCoreApplication::processEvents();
    if (!g_main_context_iteration(nullptr, FALSE)) QThread::msleep(5);
  }
}

}  // namespace

TKeyringLookup LookupMailPassword(const std::string& host, const std::string& user) {
  Pending pending;
  GCancellable* cancellable = g_cancellable_new();
  secret_password_lookup(Schema(), cancellable, Finished, &pending, "server", host.c_str(), "user",
                         user.c_str(), nullptr);
  Await(pending, cancellable);
  GError* error = nullptr;
  gchar* password = secret_password_lookup_finish(pending.result, &error);
  TKeyringLookup out;
  out.available = error == nullptr;
  if (password) out.password = std::string(password);
  secret_password_free(password);
  if (error) g_error_free(error);
  g_object_unref(pending.result);
  g_object_unref(cancellable);
  return out;
}

bool StoreMailPassword(const std::string& host, const std::string& user, const std::string& password) {
  Pending pending;
  GCancellable* cancellable = g_cancellable_new();
  const std::string label = "Vistrel-Pro mail password for " + user + " at " + host;
  secret_password_store(Schema(), SECRET_COLLECTION_DEFAULT, label.c_str(), password.c_str(),
                        cancellable, Finished, &pending, "server", host.c_str(), "user", user.c_str(),
                        nullptr);
  Await(pending, cancellable);
  GError* error = nullptr;
  const bool stored = secret_password_store_finish(pending.result, &error);
  if (error) g_error_free(error);
  g_object_unref(pending.result);
  g_object_unref(cancellable);
  return stored;
}

void ClearMailPassword(const std::string& host, const std::string& user) {
  Pending pending;
  GCancellable* cancellable = g_cancellable_new();
  secret_password_clear(Schema(), cancellable, Finished, &pending, "server", host.c_str(), "user",
                        user.c_str(), nullptr);
  Await(pending, cancellable);
  GError* error = nullptr;
  secret_password_clear_finish(pending.result, &error);
  if (error) g_error_free(error);
  g_object_unref(pending.result);
  g_object_unref(cancellable);
}

}  // namespace vistrel
