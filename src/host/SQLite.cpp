// Backend SQLite (libsqlite3).
#include <unordered_map>
#include <sqlite3.h>
#include <sys/stat.h>

#include <cmath>
#include <memory>
#include <fmt/format.h>

#include "host/Backends.h"
#include "base/Decimal.h"
#include "base/Erros.h"
#include "host/SQLParams.h"

namespace {

using TConexao = std::shared_ptr<sqlite3>;

[[noreturn]] void FalharSqlite(const std::string& AMensagem, const std::string& sql) {
  throw EBancoDados(fmt::format("Erro no banco de dados SQLite: {}. SQL: {}", AMensagem, InicioSQL(sql)));
}
[[noreturn]] void FalharSqlite(sqlite3* db, const std::string& sql) { FalharSqlite(sqlite3_errmsg(db), sql); }

// Erro num passo: o comando volta ao início (solta a trava de leitura) antes de lançar.
[[noreturn]] void FalharNoPasso(sqlite3* db, sqlite3_stmt* st, const std::string& sql) {
  const std::string msg = sqlite3_errmsg(db);
  sqlite3_reset(st);
  FalharSqlite(msg, sql);
}

// SUM exata: inteiros somam como inteiros; com algum real, soma decimal exata.
struct TSomaExata {
  bool Iniciado;
  bool Algum;
  bool Real;
  bool Estouro;
  int64_t Inteiro;
  Decimal::TAcumulador Decimal;
};

// A memória do agregado vem zerada mas só alinhada a 8 bytes: alinha à mão (__int128).
TSomaExata* Estado(sqlite3_context* ctx, int tamanho) {
  void* p = sqlite3_aggregate_context(ctx, tamanho);
  if (!p) return nullptr;
  size_t espaco = sizeof(TSomaExata) + alignof(TSomaExata);
  return static_cast<TSomaExata*>(std::align(alignof(TSomaExata), sizeof(TSomaExata), p, espaco));
}
constexpr int kTamanhoEstado = static_cast<int>(sizeof(TSomaExata) + alignof(TSomaExata));

void SomaPasso(sqlite3_context* ctx, int, sqlite3_value** argv) {
  auto* s = Estado(ctx, kTamanhoEstado);
  if (!s) return sqlite3_result_error_nomem(ctx);
  if (!s->Iniciado) {
    new (s) TSomaExata{};
    s->Iniciado = true;
  }
  const int tipo = sqlite3_value_numeric_type(argv[0]);
  if (tipo == SQLITE_NULL) return;
  s->Algum = true;
  if (tipo == SQLITE_INTEGER) {
    const int64_t v = sqlite3_value_int64(argv[0]);
    s->Decimal.SomarInteiro(v);
    if (!s->Real && !s->Estouro && __builtin_add_overflow(s->Inteiro, v, &s->Inteiro)) s->Estouro = true;
  } else {
    s->Real = true;
    s->Decimal.Somar(sqlite3_value_double(argv[0]));
  }
}

void SomaFinal(sqlite3_context* ctx) {
  auto* s = Estado(ctx, 0);
  if (!s || !s->Algum) return sqlite3_result_null(ctx);
  if (!s->Real) {
    if (s->Estouro) return sqlite3_result_error(ctx, "integer overflow", -1);
    return sqlite3_result_int64(ctx, s->Inteiro);
  }
  sqlite3_result_double(ctx, s->Decimal.Resultado());
}

// PISCO_NUMERIC(valor, escala): o CAST para numeric(p,s) do servidor.
void Numeric(sqlite3_context* ctx, int, sqlite3_value** argv) {
  const int tipo = sqlite3_value_numeric_type(argv[0]);
  if (tipo == SQLITE_NULL) return sqlite3_result_null(ctx);
  const int escala = sqlite3_value_int(argv[1]);
  const double v = sqlite3_value_double(argv[0]);
  sqlite3_result_double(ctx, Decimal::TextoParaDouble(Decimal::ArredondarTexto(v, escala)));
}

TFieldType TipoDeclarado(const char* decl) {
  if (!decl) return TFieldType::ftUnknown;
  std::string d = decl;
  for (auto& c : d) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (d.find("DATE") != std::string::npos) return TFieldType::ftDate;
  if (d.find("BOOL") != std::string::npos) return TFieldType::ftBoolean;
  if (d.find("INT") != std::string::npos) return TFieldType::ftInteger;
  if (d.find("CHAR") != std::string::npos || d.find("TEXT") != std::string::npos || d.find("CLOB") != std::string::npos)
    return TFieldType::ftString;
  if (d.find("REAL") != std::string::npos || d.find("FLOA") != std::string::npos || d.find("DOUB") != std::string::npos ||
      d.find("NUM") != std::string::npos || d.find("DEC") != std::string::npos)
    return TFieldType::ftFloat;
  return TFieldType::ftUnknown;
}

// Prepara o texto já adaptado; o comando preparado é finalizado pelo dono.
struct TComando {
  sqlite3_stmt* Stmt = nullptr;
  ~TComando() { sqlite3_finalize(Stmt); }
};

void Preparar(sqlite3* db, const std::string& original, const TParams& valores, TComando& cmd, bool exigirUnico) {
  const TSQLAnalisado analise = AnalisarParametros(original);
  ConferirQuantidadeParametros(analise, valores.size(), original);
  const std::string texto = AdaptarCastNumeric(TrocarParametros(original, analise, TDialeto::dSQLite));
  const char* resto = nullptr;
  if (sqlite3_prepare_v2(db, texto.c_str(), static_cast<int>(texto.size() + 1), &cmd.Stmt, &resto) != SQLITE_OK)
    FalharSqlite(db, original);
  if (!cmd.Stmt) throw EBancoDados(fmt::format("SQL vazio. SQL: {}", InicioSQL(original)));
  if (exigirUnico && resto) {
    // só espaços, ';' e comentários podem sobrar depois do comando
    sqlite3_stmt* outro = nullptr;
    const char* r2 = resto;
    while (*r2) {
      if (sqlite3_prepare_v2(db, r2, -1, &outro, &r2) != SQLITE_OK) FalharSqlite(db, original);
      if (outro) {
        sqlite3_finalize(outro);
        throw EBancoDados(fmt::format("Mais de um comando SQL num único texto. SQL: {}", InicioSQL(original)));
      }
    }
  }
}

void Vincular(sqlite3* db, sqlite3_stmt* st, const TParams& valores, const std::string& sql) {
  sqlite3_clear_bindings(st);
  for (size_t i = 0; i < valores.size(); ++i) {
    const int n = static_cast<int>(i + 1);
    const TVariant& v = valores[i];
    int rc = SQLITE_OK;
    if (VarIsNull(v)) rc = sqlite3_bind_null(st, n);
    else if (auto* p = std::get_if<int64_t>(&v)) rc = sqlite3_bind_int64(st, n, *p);
    else if (auto* d = std::get_if<double>(&v)) rc = sqlite3_bind_double(st, n, *d);
    else if (auto* s = std::get_if<std::string>(&v))
      rc = sqlite3_bind_text(st, n, s->data(), static_cast<int>(s->size()), SQLITE_TRANSIENT);
    else if (auto* dt = std::get_if<TVarDate>(&v)) {
      const std::string iso = DataISO(dt->Valor);
      rc = sqlite3_bind_text(st, n, iso.data(), static_cast<int>(iso.size()), SQLITE_TRANSIENT);
    } else if (auto* b = std::get_if<bool>(&v))
      rc = sqlite3_bind_int64(st, n, *b ? 1 : 0);
    if (rc != SQLITE_OK) FalharSqlite(db, sql);
  }
}

class TSQLiteDataSet : public TDataSet {
 public:
  TSQLiteDataSet(TConexao con, TDatabase* banco, const std::string& sql, const TParams& valores) : FCon(std::move(con)) {
    FCommandText = sql;
    FConexao = banco;
    IniciarRastro(valores);
    Preparar(FCon.get(), sql, valores, FCmd, true);
    Vincular(FCon.get(), FCmd.Stmt, valores, sql);
    DefinirColunas();
    Abrir();
  }

  void Reexecutar(const TParams& AValores) override {
    IniciarRastro(AValores);
    ConferirQuantidadeParametros(AnalisarParametros(FCommandText), AValores.size(), FCommandText);
    sqlite3_reset(FCmd.Stmt);
    Vincular(FCon.get(), FCmd.Stmt, AValores, FCommandText);
    FTerminou = false;
    DefinirColunas();
    Abrir();
  }

  void Close() override {
    sqlite3_reset(FCmd.Stmt);
    FTerminou = true;
    FEof = true;
  }

 protected:
  bool BuscarProxima() override {
    if (FTerminou) return false;
    const int rc = sqlite3_step(FCmd.Stmt);
    if (rc == SQLITE_DONE) {
      FTerminou = true;
      sqlite3_reset(FCmd.Stmt);  // libera travas de leitura
      return false;
    }
    if (rc != SQLITE_ROW) {
      FTerminou = true;
      FalharNoPasso(FCon.get(), FCmd.Stmt, FCommandText);
    }
    for (int i = 0; i < FieldCount(); ++i) {
      auto& dest = FLinha[static_cast<size_t>(i)];
      switch (sqlite3_column_type(FCmd.Stmt, i)) {
        case SQLITE_INTEGER: dest = static_cast<int64_t>(sqlite3_column_int64(FCmd.Stmt, i)); break;
        case SQLITE_FLOAT: dest = sqlite3_column_double(FCmd.Stmt, i); break;
        case SQLITE_NULL: dest = VarNull(); break;
        default: {
          const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(FCmd.Stmt, i));
          std::string s(t ? t : "", static_cast<size_t>(sqlite3_column_bytes(FCmd.Stmt, i)));
          TDateTime d;
          if (FFields[static_cast<size_t>(i)]->DataType() == TFieldType::ftDate && TryISOParaData(s, d)) dest = VarDate(d);
          else dest = std::move(s);
        }
      }
    }
    return true;
  }

 private:
  void DefinirColunas() {
    const int n = sqlite3_column_count(FCmd.Stmt);
    std::vector<std::string> nomes;
    std::vector<TFieldType> tipos;
    for (int i = 0; i < n; ++i) {
      nomes.emplace_back(sqlite3_column_name(FCmd.Stmt, i));
      tipos.push_back(TipoDeclarado(sqlite3_column_decltype(FCmd.Stmt, i)));
    }
    DefinirCampos(nomes, tipos);
  }

  TConexao FCon;
  TComando FCmd;
  bool FTerminou = false;
};

class TDatabaseSQLite : public TDatabase {
 public:
  explicit TDatabaseSQLite(TConexao con) : FCon(std::move(con)) {}
  TDialeto Dialeto() const override { return TDialeto::dSQLite; }

  std::unique_ptr<TDataSet> Abrir(const std::string& sql, const TParams& params) override {
    return std::make_unique<TSQLiteDataSet>(FCon, this, sql, params);
  }

  int64_t Executar(const std::string& sql, const TParams& params) override {
    TRastroComando rastro(*this, sql, params);
    // Comandos com parâmetros se repetem (cargas em lote): ficam preparados, pelo texto.
    TComandoPreparado* cmd = nullptr;
    TComando avulso;
    if (params.empty()) {
      Preparar(FCon.get(), sql, params, avulso, true);
    } else {
      auto pos = FPreparados.find(sql);
      if (pos == FPreparados.end()) {
        if (FPreparados.size() >= kMaxPreparados) FPreparados.clear();
        auto novo = std::make_unique<TComandoPreparado>();
        Preparar(FCon.get(), sql, params, novo->Cmd, true);
        novo->QtdParametros = params.size();
        pos = FPreparados.emplace(sql, std::move(novo)).first;
      } else if (pos->second->QtdParametros != params.size()) {
        ConferirQuantidadeParametros(AnalisarParametros(sql), params.size(), sql);
      }
      cmd = pos->second.get();
    }
    sqlite3_stmt* st = cmd ? cmd->Cmd.Stmt : avulso.Stmt;
    Vincular(FCon.get(), st, params, sql);
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) FalharNoPasso(FCon.get(), st, sql);
    sqlite3_reset(st);
    const int64_t linhas = sqlite3_changes64(FCon.get());
    rastro.Concluir(linhas);
    return linhas;
  }

  void ExecutarScript(const std::string& sql) override {
    TRastroComando rastro(*this, sql, {});
    char* erro = nullptr;
    if (sqlite3_exec(FCon.get(), AdaptarCastNumeric(sql).c_str(), nullptr, nullptr, &erro) != SQLITE_OK) {
      const std::string msg = erro ? erro : sqlite3_errmsg(FCon.get());
      sqlite3_free(erro);
      throw EBancoDados(fmt::format("Erro no banco de dados SQLite: {}. SQL: {}", msg, InicioSQL(sql)));
    }
    rastro.Concluir(0);
  }

  void IniciarTransacao() override { ExecutarScript("BEGIN"); }
  void Confirmar() override { ExecutarScript("COMMIT"); }
  void Desfazer() override { ExecutarScript("ROLLBACK"); }
  bool EmTransacao() const override { return sqlite3_get_autocommit(FCon.get()) == 0; }

 private:
  struct TComandoPreparado {
    TComando Cmd;
    size_t QtdParametros = 0;
  };
  static constexpr size_t kMaxPreparados = 64;

  TConexao FCon;
  // Declarado depois da conexão: os comandos são finalizados antes de ela fechar.
  std::unordered_map<std::string, std::unique_ptr<TComandoPreparado>> FPreparados;
};

}  // namespace

std::unique_ptr<TDatabase> ConectarSQLite(const std::string& ACaminho, TModoAbertura AModo) {
  int flags = SQLITE_OPEN_READWRITE;
  if (AModo == TModoAbertura::maCriar) flags |= SQLITE_OPEN_CREATE;
  else {
    struct stat st {};
    if (ACaminho != ":memory:" && stat(ACaminho.c_str(), &st) != 0)
      throw EBancoDados(fmt::format("Banco de dados SQLite não encontrado: {}", ACaminho));
  }
  sqlite3* bruto = nullptr;
  const int rc = sqlite3_open_v2(ACaminho.c_str(), &bruto, flags, nullptr);
  // close_v2 espera os comandos ainda abertos por datasets que sobrevivem à conexão
  TConexao con(bruto, [](sqlite3* p) { sqlite3_close_v2(p); });
  if (rc != SQLITE_OK) {
    if (rc == SQLITE_CANTOPEN && AModo == TModoAbertura::maExistente)
      throw EBancoDados(fmt::format("Banco de dados SQLite não encontrado: {}", ACaminho));
    throw EBancoDados(fmt::format("Não foi possível abrir o banco SQLite {}: {}", ACaminho,
                                  bruto ? sqlite3_errmsg(bruto) : sqlite3_errstr(rc)));
  }
  sqlite3_extended_result_codes(bruto, 1);
  sqlite3_busy_timeout(bruto, 10000);
  const int det = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
  if (sqlite3_create_function_v2(bruto, "SUM", 1, det, nullptr, nullptr, SomaPasso, SomaFinal, nullptr) != SQLITE_OK ||
      sqlite3_create_function_v2(bruto, "PISCO_NUMERIC", 2, det, nullptr, Numeric, nullptr, nullptr, nullptr) != SQLITE_OK)
    throw EBancoDados(fmt::format("Falha ao registrar funções no SQLite: {}", sqlite3_errmsg(bruto)));
  auto banco = std::make_unique<TDatabaseSQLite>(con);
  // Confirma que o arquivo é mesmo um banco SQLite (o erro aparece só na primeira leitura).
  try {
    banco->Executar("SELECT count(*) FROM sqlite_master", {});
  } catch (const EBancoDados& e) {
    throw EBancoDados(fmt::format("Arquivo não é um banco SQLite válido: {} ({})", ACaminho, e.what()));
  }
  return banco;
}
