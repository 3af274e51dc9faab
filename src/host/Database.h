#pragma once
// Conexão com o banco: SQLite (arquivo) ou PostgreSQL (URI postgresql://...).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/DataSet.h"
#include "base/Variant.h"

enum class TDialeto { dSQLite, dPostgreSQL };

enum class TModoAbertura {
  maExistente,  // abrir um banco que já existe (leitura e escrita); nunca cria arquivo
  maCriar       // criar o arquivo SQLite se faltar (demo-db, testes)
};

class TRastroSQL;

class TDatabase {
 public:
  virtual ~TDatabase() = default;

  // Rastro das consultas (--rastro-sql); nulo: sem rastro. Não pertence ao banco.
  void DefinirRastro(TRastroSQL* ARastro) { FRastro = ARastro; }
  TRastroSQL* Rastro() const { return FRastro; }

  // Texto de conexão: caminho de arquivo SQLite ou "postgresql://..." / "postgres://...".
  static std::unique_ptr<TDatabase> Conectar(const std::string& conexao,
                                             TModoAbertura modo = TModoAbertura::maExistente);

  virtual TDialeto Dialeto() const = 0;

  // Consulta em fluxo. O texto usa :NOME (ver host/SQLParams.h); os valores vão aos nomes
  // distintos na ordem da primeira ocorrência. Adapta CAST(... AS NUMERIC(p,s)) no SQLite.
  virtual std::unique_ptr<TDataSet> Abrir(const std::string& sql, const TParams& params = {}) = 0;
  // Como Abrir, pedindo ao banco lotes de ALote linhas (PostgreSQL; o SQLite ignora).
  virtual std::unique_ptr<TDataSet> AbrirLote(const std::string& sql, const TParams& params, int ALote) {
    (void)ALote;
    return Abrir(sql, params);
  }
  // Comando sem resultado (DDL/DML); devolve linhas afetadas quando o banco informa.
  virtual int64_t Executar(const std::string& sql, const TParams& params = {}) = 0;
  // Vários comandos separados por ';', sem parâmetros (DDL do esquema).
  virtual void ExecutarScript(const std::string& sql) = 0;
  // Carga em massa: AValores traz as linhas em sequência, um valor por coluna. Os valores
  // gravados são os de um INSERT com parâmetros. PostgreSQL: COPY; aqui, INSERTs de várias linhas.
  virtual void CarregarLinhas(const std::string& ATabela, const std::vector<std::string>& AColunas,
                              const TParams& AValores);

  virtual void IniciarTransacao() = 0;
  virtual void Confirmar() = 0;
  virtual void Desfazer() = 0;
  virtual bool EmTransacao() const = 0;
 private:
  TRastroSQL* FRastro = nullptr;
};

// Registra no rastro do banco (se houver) um comando sem resultado e o seu tempo.
class TRastroComando {
 public:
  TRastroComando(TDatabase& ABanco, const std::string& ASQL, const TParams& AValores);
  void Concluir(int64_t ALinhas);

 private:
  TRastroSQL* FRastro;
  size_t FIndice = 0;
  int64_t FInicio = 0;
};
