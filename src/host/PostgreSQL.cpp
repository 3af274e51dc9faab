// Backend PostgreSQL (libpq).
//
// Datasets em fluxo usam cursores do servidor (DECLARE/FETCH em lotes) dentro de uma
// transação que o backend mantém aberta enquanto houver cursor aberto ("transação
// implícita"); assim a memória fica constante e a mesma conexão continua aceitando outros
// comandos. Cada comando dentro de transação roda sob um SAVEPOINT: um erro desfaz só o
// comando e os cursores abertos continuam válidos (como no SQLite).
#include <libpq-fe.h>

#include <charconv>
#include <cmath>
#include <fmt/format.h>

#include "host/Backends.h"
#include "base/Decimal.h"
#include "base/Erros.h"
#include "host/SQLParams.h"

namespace {

// OIDs dos tipos básicos (catálogo pg_type, estáveis).
constexpr Oid kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kOid = 26, kFloat4 = 700, kFloat8 = 701,
              kNumeric = 1700, kDate = 1082, kTimestamp = 1114, kTimestampTz = 1184;

struct TResultado {
  PGresult* R = nullptr;
  explicit TResultado(PGresult* r = nullptr) : R(r) {}
  TResultado(TResultado&& o) noexcept : R(o.R) { o.R = nullptr; }
  TResultado& operator=(TResultado&& o) noexcept {
    std::swap(R, o.R);
    return *this;
  }
  ~TResultado() { PQclear(R); }
};

struct TEstado {
  PGconn* Conn = nullptr;
  bool Implicita = false;   // transação aberta pelo backend para os cursores
  bool Explicita = false;   // BEGIN do usuário
  int SavepointsUsuario = 0;  // IniciarTransacao dentro da transação implícita
  int Cursores = 0;
  uint64_t Geracao = 0;     // muda quando a transação termina: cursores antigos morreram
  uint64_t Sequencia = 0;
  ~TEstado() { PQfinish(Conn); }
  bool EmTransacao() const { return Implicita || Explicita; }
};
using TEstadoPtr = std::shared_ptr<TEstado>;

std::string MensagemErro(PGconn* c, PGresult* r) {
  const char* m = r ? PQresultErrorField(r, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
  std::string s = m ? m : PQerrorMessage(c);
  while (!s.empty() && (s.back() == '\n' || s.back() == ' ')) s.pop_back();
  return s;
}

[[noreturn]] void Falhar(const std::string& msg, const std::string& sql) {
  throw EBancoDados(fmt::format("Erro no banco de dados PostgreSQL: {}. SQL: {}", msg, InicioSQL(sql)));
}

// Comando de controle (BEGIN, SAVEPOINT...): falha aqui é erro de conexão.
void Controle(TEstado& e, const char* sql) {
  TResultado r(PQexec(e.Conn, sql));
  if (PQresultStatus(r.R) != PGRES_COMMAND_OK) Falhar(MensagemErro(e.Conn, r.R), sql);
}

// Termina a transação implícita (ou a explícita, em erro): cursores deixam de existir.
void EncerrarTransacao(TEstado& e, bool confirmar) {
  const bool tinha = e.EmTransacao();
  e.Implicita = e.Explicita = false;
  e.SavepointsUsuario = 0;
  e.Cursores = 0;
  ++e.Geracao;
  if (tinha) Controle(e, confirmar ? "COMMIT" : "ROLLBACK");
}

struct TValoresPG {
  std::vector<Oid> Tipos;
  std::vector<std::string> Textos;
  std::vector<const char*> Ponteiros;
};

TValoresPG ConverterValores(const TParams& valores) {
  TValoresPG p;
  p.Tipos.resize(valores.size());
  p.Textos.resize(valores.size());
  p.Ponteiros.resize(valores.size());
  for (size_t i = 0; i < valores.size(); ++i) {
    const TVariant& v = valores[i];
    if (VarIsNull(v)) continue;
    if (auto* n = std::get_if<int64_t>(&v)) {
      p.Tipos[i] = kInt8;
      p.Textos[i] = std::to_string(*n);
    } else if (auto* d = std::get_if<double>(&v)) {
      p.Tipos[i] = kNumeric;
      p.Textos[i] = std::isfinite(*d) ? Decimal::TextoCurto(*d) : "NaN";
    } else if (auto* s = std::get_if<std::string>(&v)) {
      p.Tipos[i] = 0;  // tipo desconhecido: o servidor deduz pelo contexto, como um literal
      p.Textos[i] = *s;
    } else if (auto* dt = std::get_if<TVarDate>(&v)) {
      p.Tipos[i] = kDate;
      p.Textos[i] = DataISO(dt->Valor);
    } else if (auto* b = std::get_if<bool>(&v)) {
      p.Tipos[i] = kBool;
      p.Textos[i] = *b ? "t" : "f";
    }
  }
  for (size_t i = 0; i < valores.size(); ++i) p.Ponteiros[i] = VarIsNull(valores[i]) ? nullptr : p.Textos[i].c_str();
  return p;
}

// Executa um comando do usuário; dentro de transação, sob SAVEPOINT. Lança EBancoDados.
TResultado ExecutarComando(TEstado& e, const std::string& textoPG, const TParams& valores, const std::string& original,
                           bool protegerComSavepoint) {
  const TValoresPG p = ConverterValores(valores);
  const bool sp = protegerComSavepoint && e.EmTransacao();
  if (sp) Controle(e, "SAVEPOINT pisco_cmd");
  TResultado r(PQexecParams(e.Conn, textoPG.c_str(), static_cast<int>(valores.size()), p.Tipos.data(),
                            p.Ponteiros.data(), nullptr, nullptr, 0));
  const auto st = PQresultStatus(r.R);
  if (st != PGRES_COMMAND_OK && st != PGRES_TUPLES_OK) {
    const std::string msg = MensagemErro(e.Conn, r.R);
    if (PQstatus(e.Conn) != CONNECTION_OK) {
      e.Implicita = e.Explicita = false;
      e.Cursores = 0;
      ++e.Geracao;
    } else if (sp) {
      Controle(e, "ROLLBACK TO SAVEPOINT pisco_cmd");
      Controle(e, "RELEASE SAVEPOINT pisco_cmd");
    } else if (e.EmTransacao()) {
      EncerrarTransacao(e, false);
    }
    Falhar(msg, original);
  }
  if (sp) Controle(e, "RELEASE SAVEPOINT pisco_cmd");
  return r;
}

TFieldType TipoDoOid(Oid t) {
  switch (t) {
    case kInt2: case kInt4: case kInt8: case kOid: return TFieldType::ftInteger;
    case kFloat4: case kFloat8: case kNumeric: return TFieldType::ftFloat;
    case kDate: case kTimestamp: case kTimestampTz: return TFieldType::ftDate;
    case kBool: return TFieldType::ftBoolean;
    default: return TFieldType::ftString;
  }
}

TVariant Converter(Oid tipo, const char* s, int tamanho) {
  switch (tipo) {
    case kInt2: case kInt4: case kInt8: case kOid: {
      int64_t v = 0;
      std::from_chars(s, s + tamanho, v);
      return v;
    }
    case kFloat4: case kFloat8: case kNumeric: {
      double v = 0;
      const auto [p, ec] = std::from_chars(s, s + tamanho, v);
      if (ec != std::errc()) {
        const std::string t(s, static_cast<size_t>(tamanho));
        if (t == "NaN") return std::nan("");
        if (t == "Infinity") return HUGE_VAL;
        if (t == "-Infinity") return -HUGE_VAL;
      }
      return v;
    }
    case kDate: case kTimestamp: case kTimestampTz: {
      const std::string t(s, static_cast<size_t>(tamanho));
      TDateTime d;
      if (!TryISOParaData(t.substr(0, 10), d)) return t;
      if (t.size() >= 19 && t[10] == ' ') {
        const int h = std::atoi(t.c_str() + 11), m = std::atoi(t.c_str() + 14);
        const double seg = std::atof(t.c_str() + 17);
        d += (h * 3600 + m * 60 + seg) / 86400.0;
      }
      return VarDate(d);
    }
    case kBool: return tamanho > 0 && s[0] == 't';
    default: return std::string(s, static_cast<size_t>(tamanho));
  }
}

class TPGDataSet : public TDataSet {
 public:
  TPGDataSet(TEstadoPtr estado, TDatabase* banco, const std::string& sql, const TParams& valores, int lote)
      : FEstado(std::move(estado)), FLote(lote > 0 ? lote : 2000) {
    FCommandText = sql;
    FConexao = banco;
    Executar(valores);
  }
  ~TPGDataSet() override {
    try {
      FecharCursor();
    } catch (const std::exception&) {
      // destrutor não propaga: a conexão já registrou o erro
    }
  }

  void Reexecutar(const TParams& AValores) override {
    FecharCursor();
    Executar(AValores);
  }

  void Close() override {
    FecharCursor();
    FEof = true;
  }

 protected:
  bool BuscarProxima() override {
    if (FLinhaLote >= PQntuples(FResultado.R)) {
      if (!FCursorAberto) return false;
      BuscarLote();
      if (PQntuples(FResultado.R) == 0) return false;
    }
    const int n = FLinhaLote++;
    for (int i = 0; i < FieldCount(); ++i) {
      auto& dest = FLinha[static_cast<size_t>(i)];
      if (PQgetisnull(FResultado.R, n, i)) dest = VarNull();
      else dest = Converter(PQftype(FResultado.R, i), PQgetvalue(FResultado.R, n, i), PQgetlength(FResultado.R, n, i));
    }
    return true;
  }

 private:
  void Executar(const TParams& valores) {
    const TSQLAnalisado analise = AnalisarParametros(FCommandText);
    ConferirQuantidadeParametros(analise, valores.size(), FCommandText);
    TEstado& e = *FEstado;
    FCursor = fmt::format("pisco_c{}", ++e.Sequencia);
    const std::string declare =
        "DECLARE " + FCursor + " NO SCROLL CURSOR FOR " + TrocarParametros(FCommandText, analise, TDialeto::dPostgreSQL);
    const bool iniciou = !e.EmTransacao();
    if (iniciou) {
      Controle(e, "BEGIN");
      e.Implicita = true;
    }
    try {
      ExecutarComando(e, declare, valores, FCommandText, !iniciou);
    } catch (...) {
      if (iniciou && e.Implicita && e.Cursores == 0 && !e.Explicita) EncerrarTransacao(e, false);
      throw;
    }
    ++e.Cursores;
    FGeracao = e.Geracao;
    FCursorAberto = true;
    FResultado = TResultado();
    FLinhaLote = 0;
    BuscarLote();
    std::vector<std::string> nomes;
    std::vector<TFieldType> tipos;
    for (int i = 0; i < PQnfields(FResultado.R); ++i) {
      nomes.emplace_back(PQfname(FResultado.R, i));
      tipos.push_back(TipoDoOid(PQftype(FResultado.R, i)));
    }
    DefinirCampos(nomes, tipos);
    Abrir();
  }

  void BuscarLote() {
    TEstado& e = *FEstado;
    if (FGeracao != e.Geracao)
      throw EBancoDados(fmt::format(
          "Consulta interrompida: a transação que mantinha o cursor terminou. SQL: {}", InicioSQL(FCommandText)));
    FResultado = TResultado();  // libera o lote anterior antes de buscar o próximo
    FLinhaLote = 0;
    const std::string fetch = fmt::format("FETCH FORWARD {} FROM {}", FLote, FCursor);
    TResultado r(PQexec(e.Conn, fetch.c_str()));
    if (PQresultStatus(r.R) != PGRES_TUPLES_OK) {
      const std::string msg = MensagemErro(e.Conn, r.R);
      FCursorAberto = false;
      if (PQstatus(e.Conn) == CONNECTION_OK) EncerrarTransacao(e, false);
      Falhar(msg, FCommandText);
    }
    FResultado = std::move(r);
    if (PQntuples(FResultado.R) < FLote) FecharCursor();  // fim dos dados: libera já o cursor
  }

  void FecharCursor() {
    if (!FCursorAberto) return;
    FCursorAberto = false;
    TEstado& e = *FEstado;
    if (FGeracao != e.Geracao || PQstatus(e.Conn) != CONNECTION_OK) return;
    Controle(e, ("CLOSE " + FCursor).c_str());
    if (--e.Cursores == 0 && e.Implicita && !e.Explicita) {
      e.Implicita = false;
      e.SavepointsUsuario = 0;
      Controle(e, "COMMIT");
    }
  }

  TEstadoPtr FEstado;
  int FLote;
  std::string FCursor;
  uint64_t FGeracao = 0;
  bool FCursorAberto = false;
  TResultado FResultado;
  int FLinhaLote = 0;
};

class TDatabasePG : public TDatabase {
 public:
  explicit TDatabasePG(TEstadoPtr e) : FEstado(std::move(e)) {}
  TDialeto Dialeto() const override { return TDialeto::dPostgreSQL; }

  std::unique_ptr<TDataSet> Abrir(const std::string& sql, const TParams& params) override {
    return std::make_unique<TPGDataSet>(FEstado, this, sql, params, FLotePadrao);
  }
  std::unique_ptr<TDataSet> AbrirLote(const std::string& sql, const TParams& params, int lote) override {
    return std::make_unique<TPGDataSet>(FEstado, this, sql, params, lote);
  }

  int64_t Executar(const std::string& sql, const TParams& params) override {
    const TSQLAnalisado analise = AnalisarParametros(sql);
    ConferirQuantidadeParametros(analise, params.size(), sql);
    TResultado r = ExecutarComando(*FEstado, TrocarParametros(sql, analise, TDialeto::dPostgreSQL), params, sql, true);
    const char* n = PQcmdTuples(r.R);
    return n && *n ? std::atoll(n) : 0;
  }

  void ExecutarScript(const std::string& sql) override {
    TEstado& e = *FEstado;
    const bool sp = e.EmTransacao();
    if (sp) Controle(e, "SAVEPOINT pisco_cmd");
    TResultado r(PQexec(e.Conn, sql.c_str()));
    const auto st = PQresultStatus(r.R);
    if (st != PGRES_COMMAND_OK && st != PGRES_TUPLES_OK && st != PGRES_EMPTY_QUERY) {
      const std::string msg = MensagemErro(e.Conn, r.R);
      if (sp) {
        Controle(e, "ROLLBACK TO SAVEPOINT pisco_cmd");
        Controle(e, "RELEASE SAVEPOINT pisco_cmd");
      }
      Falhar(msg, sql);
    }
    if (sp) Controle(e, "RELEASE SAVEPOINT pisco_cmd");
  }

  void IniciarTransacao() override {
    TEstado& e = *FEstado;
    if (e.Explicita) throw EBancoDados("Já existe uma transação em andamento");
    if (e.Implicita) {
      // cursores abertos: a transação do usuário vira um savepoint da implícita
      Controle(e, "SAVEPOINT pisco_tx");
      ++e.SavepointsUsuario;
    } else {
      Controle(e, "BEGIN");
    }
    e.Explicita = true;
  }

  void Confirmar() override { Terminar(true); }
  void Desfazer() override { Terminar(false); }
  bool EmTransacao() const override { return FEstado->Explicita; }

  int FLotePadrao = 2000;

 private:
  void Terminar(bool confirmar) {
    TEstado& e = *FEstado;
    if (!e.Explicita) throw EBancoDados("Nenhuma transação em andamento");
    if (e.SavepointsUsuario > 0) {
      Controle(e, confirmar ? "RELEASE SAVEPOINT pisco_tx" : "ROLLBACK TO SAVEPOINT pisco_tx");
      if (!confirmar) Controle(e, "RELEASE SAVEPOINT pisco_tx");
      --e.SavepointsUsuario;
      e.Explicita = false;
      if (e.Cursores == 0) EncerrarTransacao(e, true);
      return;
    }
    EncerrarTransacao(e, confirmar);  // cursores abertos dentro dela terminam junto
  }

  TEstadoPtr FEstado;
};

std::string DescreverDestino(PQconninfoOption* opcoes) {
  std::string host, porta, banco, usuario;
  for (auto* o = opcoes; o && o->keyword; ++o) {
    if (!o->val) continue;
    const std::string k = o->keyword;
    if (k == "host" || k == "hostaddr") host = o->val;
    else if (k == "port") porta = o->val;
    else if (k == "dbname") banco = o->val;
    else if (k == "user") usuario = o->val;
  }
  return fmt::format("{}{}{}{}/{}", usuario.empty() ? "" : usuario + "@", host.empty() ? "localhost" : host,
                     porta.empty() ? "" : ":", porta, banco);
}

}  // namespace

std::unique_ptr<TDatabase> ConectarPostgreSQL(const std::string& AURI) {
  char* erro = nullptr;
  PQconninfoOption* opcoes = PQconninfoParse(AURI.c_str(), &erro);
  if (!opcoes) {
    std::string msg = erro ? erro : "formato não reconhecido";
    PQfreemem(erro);
    while (!msg.empty() && msg.back() == '\n') msg.pop_back();
    throw EEntradaInvalida(fmt::format("Texto de conexão PostgreSQL inválido: {}", msg));
  }
  const std::string destino = DescreverDestino(opcoes);  // sem senha
  PQconninfoFree(opcoes);
  auto estado = std::make_shared<TEstado>();
  estado->Conn = PQconnectdb(AURI.c_str());
  if (PQstatus(estado->Conn) != CONNECTION_OK) {
    std::string msg = PQerrorMessage(estado->Conn);
    while (!msg.empty() && (msg.back() == '\n' || msg.back() == ' ')) msg.pop_back();
    throw EBancoDados(fmt::format("Não foi possível conectar ao PostgreSQL em {}: {}", destino, msg));
  }
  PQsetNoticeProcessor(estado->Conn, [](void*, const char*) {}, nullptr);  // avisos não vão ao stderr
  Controle(*estado, "SET datestyle = 'ISO, YMD'; SET client_encoding = 'UTF8'; SET extra_float_digits = 1");
  return std::make_unique<TDatabasePG>(std::move(estado));
}
