#pragma once
// Apoio dos testes dos repositórios de blocos: host sobre SQLite para os textos e a
// demonstração (SQLite e PostgreSQL) para rodar as consultas e conferir valores.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "db/Demo.h"
#include "db/Schema.h"
#include "fixtures/Bancos.h"
#include "host/Host.h"
#include "host/Nutildb.h"
#include "host/OpcaoEFD.h"

// Opção da EFD da empresa 1 (estabelecimento 1) desde 2020, com o F500/F525 detalhado.
inline void GravarOpcaoEFDTeste(TDatabase& ABanco) {
  ABanco.Executar("DELETE FROM OPCAOEFDCOMPL");
  ABanco.Executar("DELETE FROM OPCAOEFD");
  ABanco.Executar("INSERT INTO OPCAOEFD (CODIGOEMPRESA, CODIGOESTAB, DATAEFD, REGIMEAPU) VALUES (1, 1, :D, 1)",
                  {VarDate(EncodeDate(2020, 1, 1))});
  ABanco.Executar(
      "INSERT INTO OPCAOEFDCOMPL (CODIGOEMPRESA, CODIGOESTAB, DATAEFD, OPTANTEEFD, GERACAOF500F525) "
      "VALUES (1, 1, :D, 1, 0)",
      {VarDate(EncodeDate(2020, 1, 1))});
  ControleOpcaoEFD().LimparCache();
  ControleOpcaoEFD().Configurar(1, 1, EncodeDate(2024, 1, 1));
}

// Host corrente sobre um arquivo SQLite com o esquema: basta para montar textos.
class THostTexto {
 public:
  THostTexto() {
    char modelo[] = "/tmp/pisco-blocos-XXXXXX";
    const int fd = mkstemp(modelo);
    if (fd >= 0) close(fd);
    FArquivo = modelo;
    FHost = std::make_unique<THost>(TDatabase::Conectar(FArquivo, TModoAbertura::maCriar));
    FEscopo = std::make_unique<THostScope>(*FHost);
    // Numa transação só: o DDL inteiro sem uma sincronização de disco por comando.
    FHost->Database().IniciarTransacao();
    FHost->Database().ExecutarScript(GerarDDL(TDialeto::dSQLite));
    FHost->Database().Confirmar();
    GravarOpcaoEFDTeste(FHost->Database());
  }
  ~THostTexto() {
    FEscopo.reset();
    FHost.reset();
    std::remove(FArquivo.c_str());
  }
  TDatabase& Banco() { return FHost->Database(); }

 private:
  std::string FArquivo;
  std::unique_ptr<THost> FHost;
  std::unique_ptr<THostScope> FEscopo;
};

// Linhas de uma consulta somadas por chave (colunas-chave unidas por '|'). Alíquotas e códigos
// vêm como texto, inteiro ou real conforme o banco: as alíquotas são normalizadas.
using TSomasPorChave = std::map<std::string, std::vector<double>>;
inline TSomasPorChave SomarPorChave(TDataSet& ds, const std::vector<std::string>& AChave,
                                    const std::vector<std::string>& AValores) {
  TSomasPorChave r;
  for (; !ds.Eof(); ds.Next()) {
    std::string k;
    for (const auto& c : AChave) {
      const auto& f = ds.FieldByName(c);
      k += (f.IsNull() ? std::string("-") : c.rfind("ALIQ", 0) == 0 ? std::to_string(std::lround(f.AsFloat() * 10000))
                                                                  : f.AsString()) + "|";
    }
    auto& v = r[k];
    v.resize(AValores.size());
    for (size_t i = 0; i < AValores.size(); ++i) v[i] += ds.FieldByName(AValores[i]).AsFloat();
  }
  return r;
}

// Mesmas chaves dos dois lados e cada soma dentro da tolerância (relativa acima de 1.000,00).
inline void ConferirSomas(const TSomasPorChave& AObtido, const TSomasPorChave& AEsperado, double ATolerancia) {
  ASSERT_FALSE(AEsperado.empty()) << "a demonstração deveria ter linhas";
  ASSERT_EQ(AObtido.size(), AEsperado.size());
  for (const auto& [k, v] : AEsperado) {
    ASSERT_EQ(AObtido.count(k), 1u) << k;
    for (size_t i = 0; i < v.size(); ++i)
      EXPECT_NEAR(AObtido.at(k)[i], v[i], ATolerancia * std::max(1.0, std::abs(v[i]) / 1000)) << k << " coluna " << i;
  }
}

// Banco de demonstração com a opção da EFD posicionada no início do mês: a base dos testes
// que rodam os construtores dos blocos sobre dados reais.
class TBancoDemoBlocos : public TBancoTeste {
 protected:
  static inline const TDateTime kInicioDemo = EncodeDate(2024, 1, 1);
  void SetUp() override {
    TBancoTeste::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    TConfigDemo cfg;
    cfg.Empresas = 1;
    GerarBancoDemo(Banco(), cfg);
    ControleOpcaoEFD().LimparCache();
    ControleOpcaoEFD().Configurar(1, 1, kInicioDemo);
  }
  // Geração consolidada (1) ou detalhada (0) do F500/F525 e do 1900.
  void OpcaoConsolidada(bool AConsolidado) {
    Banco().Executar("UPDATE OPCAOEFDCOMPL SET GERACAOF500F525 = :G WHERE CODIGOEMPRESA = 1",
                     {TVariant{int64_t{AConsolidado ? 1 : 0}}});
    ControleOpcaoEFD().LimparCache();
  }
  // Linhas da consulta (lidas até o fim).
  int64_t Rodar(const std::string& ASQL, const TParams& AValores) {
    auto ds = Nutildb::ExecutarSQL(ASQL, AValores);
    int64_t n = 0;
    for (; !ds->Eof(); ds->Next()) ++n;
    return n;
  }
};
