// Backend PostgreSQL (libpq).
//
// Datasets em fluxo usam cursores do servidor (DECLARE/FETCH em lotes): memória constante, e a
// mesma conexão continua aceitando outros comandos. Um cursor só existe dentro de uma
// transação; o backend abre uma ("implícita") enquanto houver cursor ainda não confirmado.
// Os cursores são WITH HOLD: enquanto a transação dura, leem em fluxo como qualquer cursor; num
// COMMIT o servidor guarda o resto do resultado e o cursor sobrevive. Assim um COMMIT com
// datasets abertos (Confirmar do usuário, ou comando fora de transação, que grava na hora como
// no SQLite) grava de fato sem matar as leituras. Preferimos isto a uma segunda conexão para as
// leituras (que não veria a tabela temporária nem o que a transação ainda não confirmou) e à
// libpqxx (dependência a mais para o mesmo mecanismo).
// A transação do usuário aberta com cursores não confirmados vira um SAVEPOINT da implícita
// (Desfazer volta a ele) e o Confirmar faz o COMMIT inteiro. Cursores abertos numa transação
// desfeita somem no servidor: o dataset passa a dar erro claro, sem tocar mais no cursor.
// Cada comando dentro de transação roda sob SAVEPOINT: um erro desfaz só o comando.
#include <libpq-fe.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fmt/format.h>
#include <functional>
#include <vector>

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

// Cursor aberto no servidor.
struct TCursor {
  std::string Nome;
  bool Vivo = true;             // false: o servidor já o descartou (transação desfeita)
  bool Confirmado = false;      // passou por um COMMIT: o servidor guardou o resultado
  bool NaTransacaoUsuario = false;
};
using TCursorPtr = std::shared_ptr<TCursor>;

struct TEstado {
  PGconn* Conn = nullptr;
  bool Aberta = false;            // bloco de transação aberto no servidor
  bool Explicita = false;         // IniciarTransacao do usuário
  bool SavepointUsuario = false;  // ... começada dentro da implícita
  std::vector<TCursorPtr> Cursores;
  uint64_t Sequencia = 0;
  ~TEstado() { PQfinish(Conn); }
  bool CursorPendente() const {
    return std::any_of(Cursores.begin(), Cursores.end(), [](const TCursorPtr& c) { return !c->Confirmado; });
  }
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

// Fim do bloco de transação no servidor. No COMMIT os cursores vivos passam a confirmados;
// no ROLLBACK somem os que não tinham passado por um COMMIT.
void MarcarFim(TEstado& e, bool confirmou) {
  e.Aberta = e.Explicita = e.SavepointUsuario = false;
  for (auto& c : e.Cursores) {
    if (confirmou) c->Confirmado = true;
    else if (!c->Confirmado) c->Vivo = false;
    c->NaTransacaoUsuario = false;
  }
  std::erase_if(e.Cursores, [](const TCursorPtr& c) { return !c->Vivo; });
}

void ConexaoPerdida(TEstado& e) {
  e.Aberta = e.Explicita = e.SavepointUsuario = false;
  for (auto& c : e.Cursores) c->Vivo = false;
  e.Cursores.clear();
}

// COMMIT do bloco; se falhar (o servidor desfaz tudo), lança com a mensagem do banco.
void ConfirmarBloco(TEstado& e) {
  TResultado r(PQexec(e.Conn, "COMMIT"));
  const bool ok = PQresultStatus(r.R) == PGRES_COMMAND_OK;
  const std::string msg = ok ? "" : MensagemErro(e.Conn, r.R);
  if (!ok && PQstatus(e.Conn) == CONNECTION_OK && PQtransactionStatus(e.Conn) != PQTRANS_IDLE) {
    TResultado rb(PQexec(e.Conn, "ROLLBACK"));
  }
  if (PQstatus(e.Conn) != CONNECTION_OK) ConexaoPerdida(e);
  else MarcarFim(e, ok);
  if (!ok) Falhar(msg, "COMMIT");
}

// Termina a transação implícita quando nenhum cursor depende mais dela.
void EncerrarImplicitaOciosa(TEstado& e) {
  if (e.Aberta && !e.Explicita && !e.CursorPendente()) ConfirmarBloco(e);
}

// Roda um comando do usuário. Dentro de transação, sob SAVEPOINT (um erro desfaz só ele);
// fora de transação do usuário, o que ele gravou é confirmado na hora. AComando devolve a
// mensagem de erro, vazia no sucesso.
void Protegido(TEstado& e, const std::string& original, const std::function<std::string()>& AComando) {
  const bool sp = e.Aberta;
  if (sp) Controle(e, "SAVEPOINT pisco_cmd");
  const std::string erro = AComando();
  if (!erro.empty()) {
    if (PQstatus(e.Conn) != CONNECTION_OK) {
      ConexaoPerdida(e);
    } else if (sp) {
      Controle(e, "ROLLBACK TO SAVEPOINT pisco_cmd");
      Controle(e, "RELEASE SAVEPOINT pisco_cmd");
    }
    Falhar(erro, original);
  }
  if (!sp) return;
  Controle(e, "RELEASE SAVEPOINT pisco_cmd");
  if (!e.Explicita) ConfirmarBloco(e);
}

struct TValoresPG {
  std::vector<Oid> Tipos;
  std::vector<std::string> Textos;
  std::vector<const char*> Ponteiros;
};

// Texto e tipo de um valor não nulo, como vai ao servidor.
void TextoDoValor(const TVariant& v, Oid& ATipo, std::string& ATexto) {
  if (auto* n = std::get_if<int64_t>(&v)) {
    ATipo = kInt8;
    ATexto = std::to_string(*n);
  } else if (auto* d = std::get_if<double>(&v)) {
    ATipo = kNumeric;
    ATexto = std::isfinite(*d) ? Decimal::TextoCurto(*d) : "NaN";
  } else if (auto* s = std::get_if<std::string>(&v)) {
    ATipo = 0;  // tipo desconhecido: o servidor deduz pelo contexto, como um literal
    ATexto = *s;
  } else if (auto* dt = std::get_if<TVarDate>(&v)) {
    ATipo = kDate;
    ATexto = DataISO(dt->Valor);
  } else if (auto* b = std::get_if<bool>(&v)) {
    ATipo = kBool;
    ATexto = *b ? "t" : "f";
  }
}

TValoresPG ConverterValores(const TParams& valores) {
  TValoresPG p;
  p.Tipos.resize(valores.size());
  p.Textos.resize(valores.size());
  p.Ponteiros.resize(valores.size());
  for (size_t i = 0; i < valores.size(); ++i)
    if (!VarIsNull(valores[i])) TextoDoValor(valores[i], p.Tipos[i], p.Textos[i]);
  for (size_t i = 0; i < valores.size(); ++i) p.Ponteiros[i] = VarIsNull(valores[i]) ? nullptr : p.Textos[i].c_str();
  return p;
}

// Executa um comando com parâmetros (ver Protegido). Lança EBancoDados.
TResultado ExecutarComando(TEstado& e, const std::string& textoPG, const TParams& valores, const std::string& original) {
  const TValoresPG p = ConverterValores(valores);
  TResultado r;
  Protegido(e, original, [&] {
    r = TResultado(PQexecParams(e.Conn, textoPG.c_str(), static_cast<int>(valores.size()), p.Tipos.data(),
                                p.Ponteiros.data(), nullptr, nullptr, 0));
    const auto st = PQresultStatus(r.R);
    return st == PGRES_COMMAND_OK || st == PGRES_TUPLES_OK ? std::string() : MensagemErro(e.Conn, r.R);
  });
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
      if (!FCursor) return false;
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
    IniciarRastro(valores);
    const TSQLAnalisado analise = AnalisarParametros(FCommandText);
    ConferirQuantidadeParametros(analise, valores.size(), FCommandText);
    TEstado& e = *FEstado;
    auto cursor = std::make_shared<TCursor>();
    cursor->Nome = fmt::format("pisco_c{}", ++e.Sequencia);
    cursor->NaTransacaoUsuario = e.Explicita;
    const std::string declare = "DECLARE " + cursor->Nome + " NO SCROLL CURSOR WITH HOLD FOR " +
                                TrocarParametros(FCommandText, analise, TDialeto::dPostgreSQL);
    const TValoresPG p = ConverterValores(valores);
    const bool iniciou = !e.Aberta;
    if (iniciou) {
      Controle(e, "BEGIN");
      e.Aberta = true;
    } else {
      Controle(e, "SAVEPOINT pisco_cmd");
    }
    TResultado r(PQexecParams(e.Conn, declare.c_str(), static_cast<int>(valores.size()), p.Tipos.data(),
                              p.Ponteiros.data(), nullptr, nullptr, 0));
    if (PQresultStatus(r.R) != PGRES_COMMAND_OK) {
      const std::string msg = MensagemErro(e.Conn, r.R);
      if (PQstatus(e.Conn) != CONNECTION_OK) {
        ConexaoPerdida(e);
      } else if (iniciou) {
        Controle(e, "ROLLBACK");  // o BEGIN foi só deste cursor
        e.Aberta = false;
      } else {
        Controle(e, "ROLLBACK TO SAVEPOINT pisco_cmd");
        Controle(e, "RELEASE SAVEPOINT pisco_cmd");
      }
      Falhar(msg, FCommandText);
    }
    if (!iniciou) Controle(e, "RELEASE SAVEPOINT pisco_cmd");
    e.Cursores.push_back(cursor);
    FCursor = std::move(cursor);
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
    if (!FCursor->Vivo)
      throw EBancoDados(fmt::format("Consulta interrompida: a transação em que ela foi aberta foi desfeita. SQL: {}",
                                    InicioSQL(FCommandText)));
    FResultado = TResultado();  // libera o lote anterior antes de buscar o próximo
    FLinhaLote = 0;
    const std::string fetch = fmt::format("FETCH FORWARD {} FROM {}", FLote, FCursor->Nome);
    // dentro de transação, sob SAVEPOINT: um erro da consulta não desfaz a transação
    const bool sp = e.Aberta;
    if (sp) Controle(e, "SAVEPOINT pisco_cmd");
    TResultado r(PQexec(e.Conn, fetch.c_str()));
    if (PQresultStatus(r.R) != PGRES_TUPLES_OK) {
      const std::string msg = MensagemErro(e.Conn, r.R);
      if (PQstatus(e.Conn) != CONNECTION_OK) {
        ConexaoPerdida(e);
      } else {
        if (sp) {
          Controle(e, "ROLLBACK TO SAVEPOINT pisco_cmd");
          Controle(e, "RELEASE SAVEPOINT pisco_cmd");
        }
        FecharCursor();
      }
      Falhar(msg, FCommandText);
    }
    if (sp) Controle(e, "RELEASE SAVEPOINT pisco_cmd");
    FResultado = std::move(r);
    if (PQntuples(FResultado.R) < FLote) FecharCursor();  // fim dos dados: libera já o cursor
  }

  void FecharCursor() {
    if (!FCursor) return;
    const TCursorPtr cursor = std::move(FCursor);
    FCursor.reset();
    TEstado& e = *FEstado;
    std::erase(e.Cursores, cursor);
    if (!cursor->Vivo || PQstatus(e.Conn) != CONNECTION_OK) return;
    cursor->Vivo = false;
    // um cursor que falhou pode já não existir: o CLOSE não pode estragar a transação
    const bool sp = e.Aberta;
    if (sp) Controle(e, "SAVEPOINT pisco_cmd");
    TResultado r(PQexec(e.Conn, ("CLOSE " + cursor->Nome).c_str()));
    if (sp) {
      if (PQresultStatus(r.R) != PGRES_COMMAND_OK) Controle(e, "ROLLBACK TO SAVEPOINT pisco_cmd");
      Controle(e, "RELEASE SAVEPOINT pisco_cmd");
    }
    EncerrarImplicitaOciosa(e);
  }

  TEstadoPtr FEstado;
  int FLote;
  TCursorPtr FCursor;  // nulo depois de fechado
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
    TRastroComando rastro(*this, sql, params);
    const TSQLAnalisado analise = AnalisarParametros(sql);
    ConferirQuantidadeParametros(analise, params.size(), sql);
    TResultado r = ExecutarComando(*FEstado, TrocarParametros(sql, analise, TDialeto::dPostgreSQL), params, sql);
    const char* n = PQcmdTuples(r.R);
    const int64_t linhas = n && *n ? std::atoll(n) : 0;
    rastro.Concluir(linhas);
    return linhas;
  }

  void ExecutarScript(const std::string& sql) override {
    TRastroComando rastro(*this, sql, {});
    TEstado& e = *FEstado;
    Protegido(e, sql, [&] {
      TResultado r(PQexec(e.Conn, sql.c_str()));
      const auto st = PQresultStatus(r.R);
      return st == PGRES_COMMAND_OK || st == PGRES_TUPLES_OK || st == PGRES_EMPTY_QUERY ? std::string()
                                                                                        : MensagemErro(e.Conn, r.R);
    });
    rastro.Concluir(0);
  }

  void CarregarLinhas(const std::string& ATabela, const std::vector<std::string>& AColunas,
                      const TParams& AValores) override;

  void IniciarTransacao() override {
    TEstado& e = *FEstado;
    if (e.Explicita) throw EBancoDados("Já existe uma transação em andamento");
    if (e.Aberta) {
      // cursores ainda não confirmados: a transação do usuário começa num savepoint da implícita
      Controle(e, "SAVEPOINT pisco_tx");
      e.SavepointUsuario = true;
    } else {
      Controle(e, "BEGIN");
      e.Aberta = true;
    }
    e.Explicita = true;
  }

  void Confirmar() override {
    TEstado& e = *FEstado;
    if (!e.Explicita) throw EBancoDados("Nenhuma transação em andamento");
    if (e.SavepointUsuario) Controle(e, "RELEASE SAVEPOINT pisco_tx");
    ConfirmarBloco(e);  // grava tudo; os cursores abertos sobrevivem (WITH HOLD)
  }

  void Desfazer() override {
    TEstado& e = *FEstado;
    if (!e.Explicita) throw EBancoDados("Nenhuma transação em andamento");
    if (!e.SavepointUsuario) {
      TResultado r(PQexec(e.Conn, "ROLLBACK"));
      if (PQstatus(e.Conn) != CONNECTION_OK) ConexaoPerdida(e);
      else MarcarFim(e, false);
      return;
    }
    Controle(e, "ROLLBACK TO SAVEPOINT pisco_tx");
    Controle(e, "RELEASE SAVEPOINT pisco_tx");
    // os cursores abertos depois do savepoint foram fechados pelo servidor
    for (auto& c : e.Cursores)
      if (c->NaTransacaoUsuario) c->Vivo = false;
    std::erase_if(e.Cursores, [](const TCursorPtr& c) { return !c->Vivo; });
    e.Explicita = e.SavepointUsuario = false;
    EncerrarImplicitaOciosa(e);
  }

  bool EmTransacao() const override { return FEstado->Explicita; }

  int FLotePadrao = 2000;

 private:
  TEstadoPtr FEstado;
};

// Texto de um valor no formato texto do COPY: o mesmo que os parâmetros levam (os valores
// gravados são os mesmos de um INSERT), com \, tabulação e quebras de linha escapadas.
void TextoCopy(const TVariant& AValor, std::string& ADestino) {
  if (VarIsNull(AValor)) {
    ADestino += "\\N";
    return;
  }
  Oid tipo = 0;
  std::string texto;
  TextoDoValor(AValor, tipo, texto);
  for (char c : texto) {
    switch (c) {
      case '\\': ADestino += "\\\\"; break;
      case '\t': ADestino += "\\t"; break;
      case '\n': ADestino += "\\n"; break;
      case '\r': ADestino += "\\r"; break;
      default: ADestino += c;
    }
  }
}

bool IdentificadorPG(const std::string& ANome) {
  if (ANome.empty() || std::isdigit(static_cast<unsigned char>(ANome[0]))) return false;
  return std::all_of(ANome.begin(), ANome.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; });
}

void TDatabasePG::CarregarLinhas(const std::string& ATabela, const std::vector<std::string>& AColunas,
                                 const TParams& AValores) {
  if (AColunas.empty() || AValores.empty()) return;
  if (AValores.size() % AColunas.size() != 0)
    throw EBancoDados(fmt::format("Carga em {}: {} valores não fecham linhas de {} colunas", ATabela, AValores.size(),
                                  AColunas.size()));
  // nomes vêm do código, mas nunca entram no SQL sem conferir
  std::string sql = "COPY " + ATabela + " (";
  if (!IdentificadorPG(ATabela)) throw EBancoDados(fmt::format("Nome de tabela inválido para carga: \"{}\"", ATabela));
  for (size_t i = 0; i < AColunas.size(); ++i) {
    if (!IdentificadorPG(AColunas[i]))
      throw EBancoDados(fmt::format("Nome de coluna inválido para carga: \"{}\"", AColunas[i]));
    sql += (i ? ", " : "") + AColunas[i];
  }
  sql += ") FROM STDIN";
  std::string dados;
  for (size_t i = 0; i < AValores.size(); ++i) {
    TextoCopy(AValores[i], dados);
    dados += (i + 1) % AColunas.size() == 0 ? '\n' : '\t';
  }
  TEstado& e = *FEstado;
  Protegido(e, sql, [&] {
    TResultado inicio(PQexec(e.Conn, sql.c_str()));
    if (PQresultStatus(inicio.R) != PGRES_COPY_IN) return MensagemErro(e.Conn, inicio.R);
    const bool enviou = PQputCopyData(e.Conn, dados.data(), static_cast<int>(dados.size())) == 1;
    PQputCopyEnd(e.Conn, enviou ? nullptr : "falha ao enviar os dados");
    std::string erro;
    while (PGresult* r = PQgetResult(e.Conn)) {
      TResultado fim(r);
      if (PQresultStatus(r) != PGRES_COMMAND_OK && erro.empty()) erro = MensagemErro(e.Conn, r);
    }
    return erro;
  });
}

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
  // Cada consulta roda uma vez só por execução: a compilação JIT do servidor custa mais que ela
  // (segundos por consulta de totais a 10^6 linhas) e não muda nenhum resultado.
  if (PQserverVersion(estado->Conn) >= 110000) Controle(*estado, "SET jit = off");
  return std::make_unique<TDatabasePG>(std::move(estado));
}
