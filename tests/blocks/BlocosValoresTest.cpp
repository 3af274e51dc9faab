// Sem dados: cada nome de parâmetro de cada texto recebe o seu valor (e a hora das datas não vai
// ao banco), o filtro de estabelecimento recusa texto que não é lista, as escolhas do bloco F
// que dependem da empresa (opção do F500, tabela do F150, SCP) e o C100 pela apuração do IPI.
#include <gtest/gtest.h>

#include <string>

#include "blocks/CatalogoBlocos.h"
#include "db/Schema.h"
#include "host/ControlesFiscais.h"
#include "host/Host.h"
#include "host/OpcaoEFD.h"
#include "host/SQLParams.h"

namespace {

using RF = TnArqRepositorioSPEDPisCofinsBlocoF;

const TDateTime kInicioMarco = EncodeDate(2024, 3, 1);
const TDateTime kFimMarco = EncodeDate(2024, 3, 31);

TVariant I(int64_t n) { return TVariant{n}; }
TVariant D(TDateTime d) { return VarDate(d); }

// Papel de cada nome de parâmetro pelo nome; o valor na mesma posição tem de ser o dele. Os
// valores de impressora, faixa de notas e código de receita são os do próprio catálogo.
enum class TPapel { Empresa, Estab, Inicio, Fim, DoCatalogo, Desconhecido };
TPapel Papel(const std::string& ANome) {
  for (const char* n : {"NUMERONF", "IMPRESSORA", "CODIGOIMPOSTO", "VARIACAOIMPOSTO"})
    if (ANome.find(n) != std::string::npos) return TPapel::DoCatalogo;
  if (ANome.find("EMPRESA") != std::string::npos) return TPapel::Empresa;
  if (ANome.find("ESTAB") != std::string::npos) return TPapel::Estab;
  if (ANome.find("INICIAL") != std::string::npos) return TPapel::Inicio;
  if (ANome.find("FINAL") != std::string::npos) return TPapel::Fim;
  return TPapel::Desconhecido;
}

void Conferir(const std::vector<TCasoBloco>& ACasos, int64_t AEstab) {
  for (const auto& c : ACasos) {
    SCOPED_TRACE(c.Nome);
    const TSQLAnalisado a = AnalisarParametros(c.SQL);
    ASSERT_EQ(a.Nomes.size(), c.ValoresReais.size());
    EXPECT_EQ(c.Valores.size(), c.ValoresReais.size());
    for (size_t i = 0; i < a.Nomes.size(); ++i) {
      SCOPED_TRACE(a.Nomes[i]);
      const TVariant& v = c.ValoresReais[i];
      switch (Papel(a.Nomes[i])) {
        case TPapel::Empresa: EXPECT_EQ(v, I(7)); break;
        case TPapel::Estab: EXPECT_EQ(v, I(AEstab)); break;
        // O F150 lê desde onze meses antes do início.
        case TPapel::Inicio: EXPECT_EQ(v, D(c.Nome == "F150" ? IncMonth(kInicioMarco, -11) : kInicioMarco)); break;
        case TPapel::Fim: EXPECT_EQ(v, D(kFimMarco)); break;
        case TPapel::DoCatalogo: break;
        case TPapel::Desconhecido: ADD_FAILURE() << "nome de parâmetro inesperado"; break;
      }
    }
  }
}

// Host corrente sobre um SQLite em memória com o esquema e a opção da EFD da empresa 1 desde
// 2020, F500/F525 detalhado: basta para montar textos.
class BlocosValores : public ::testing::Test {
 protected:
  void SetUp() override {
    Banco().ExecutarScript(GerarDDL(TDialeto::dSQLite));
    Banco().Executar("INSERT INTO OPCAOEFD (CODIGOEMPRESA, CODIGOESTAB, DATAEFD, REGIMEAPU) VALUES (1, 1, :D, 1)",
                     {VarDate(EncodeDate(2020, 1, 1))});
    Banco().Executar("INSERT INTO OPCAOEFDCOMPL (CODIGOEMPRESA, CODIGOESTAB, DATAEFD, OPTANTEEFD, GERACAOF500F525) "
                     "VALUES (1, 1, :D, 1, 0)",
                     {VarDate(EncodeDate(2020, 1, 1))});
    ControleOpcaoEFD().LimparCache();
    ControleOpcaoEFD().Configurar(1, 1, EncodeDate(2024, 1, 1));
  }
  TDatabase& Banco() { return FHost.Database(); }
  THost FHost{TDatabase::Conectar(":memory:", TModoAbertura::maCriar)};
  THostScope FEscopo{FHost};
};

// Datas com hora no pedido: o banco recebe só a data (senão o primeiro dia some).
TEST_F(BlocosValores, CadaNomeDeParametroRecebeSeuValor) {
  const TDateTime ini = kInicioMarco + 0.75, fim = kFimMarco + 0.5;
  const TnArqRepositorioSPEDPisCofinsBlocoFDetalhado det;
  const TnArqRepositorioSPEDPisCofinsBlocoFConsolidado cons;
  for (const char* estab : {"12", " 12 ", "", "0", "1,3-5"}) {
    const int64_t codEstab = RF::EhEstabInclusion(estab) ? -999 : 12;
    for (int mov : {0, 1, 2}) {
      for (bool scp : {false, true}) {
        SCOPED_TRACE(std::string("estab [") + estab + "] movimento " + std::to_string(mov) + (scp ? " SCP" : ""));
        Conferir(CasosBlocoA(TnParansBlocoA{7, estab, ini, fim, false, mov, scp}), codEstab);
        const TnParansBlocoF f{7, estab, ini, fim, false, static_cast<int16_t>(mov), scp};
        for (const RF* repo : {static_cast<const RF*>(&det), static_cast<const RF*>(&cons)})
          Conferir(CasosBlocoF(f, *repo), codEstab);
        Conferir(CasosBlocoC<TnArqRepositorioSPEDPisCofinsBlocoC>(TnParansBlocoC{7, estab, ini, fim, false, mov, 2, scp}),
                 codEstab);
        Conferir(CasosBlocoC<TnArqRepositorioSPEDPisCofinsBlocoCMemoria>(
                     nArqRepositorioSPEDPisCofinsBlocoCMemoria_U::TnParansBlocoC{7, estab, ini, fim, false, mov, 2}),
                 codEstab);
      }
    }
    Conferir(CasosBlocoD(TnParansBlocoD{7, estab, ini, fim, false, false}), codEstab);
    Conferir(CasosBlocoP(TnParansBlocoP{7, estab, ini, fim, false, 1}), codEstab);
    Conferir(CasosBloco1(TnParansBloco1{7, estab, ini, fim}, ""), codEstab);
  }
  Conferir(CasosBlocoI(TnParansBlocoI{7, 5, ini, fim, true, true}), 5);
}

// Estabelecimento do bloco F: um código vira parâmetro; "0", vazio ou lista vão pelo filtro de
// intervalo; texto do usuário que não é lista de estabelecimentos nunca chega ao SQL.
TEST_F(BlocosValores, FiltroDeEstabelecimento) {
  for (const auto& [estab, inclusao] : std::vector<std::pair<const char*, bool>>{
           {"12", false}, {" 12 ", false}, {"-3", false}, {"0", true}, {"", true}, {"  ", true}, {"1,3", true}}) {
    EXPECT_EQ(RF::EhEstabInclusion(estab), inclusao) << "[" << estab << "]";
  }
  const TnParansBlocoF injecao{1, "1; drop table x", kInicioMarco, kFimMarco, false, 1, false};
  EXPECT_THROW(RF::GetFiltroEstab(injecao, "D.CODIGOESTAB"), EPisco);
}

// A opção do F500 é a da empresa do registro, seja qual for a empresa em que o objeto de opções
// ficou da última consulta, e o objeto volta como estava; o F150 lê a tabela da EFD ou a do
// lucro real pela opção; o filtro de SCP só vale nas saídas da SCP.
TEST_F(BlocosValores, EscolhasDoBlocoFPelaEmpresaDoRegistro) {
  auto& banco = Banco();
  banco.Executar("INSERT INTO OPCAOEFD (CODIGOEMPRESA, CODIGOESTAB, DATAEFD, REGIMEAPU) VALUES (2, 1, :D, 1)",
                 {VarDate(EncodeDate(2020, 1, 1))});
  banco.Executar("INSERT INTO OPCAOEFDCOMPL (CODIGOEMPRESA, CODIGOESTAB, DATAEFD, OPTANTEEFD, GERACAOF500F525) "
                 "VALUES (2, 1, :D, 1, 1)",
                 {VarDate(EncodeDate(2020, 1, 1))});
  const TnParansBlocoF empresa1{1, "1", kInicioMarco, kFimMarco, false, 1, false};
  const TnParansBlocoF empresa2{2, "1", kInicioMarco, kFimMarco, false, 1, false};
  const TnArqRepositorioSPEDPisCofinsBlocoFDetalhado det;
  const TnArqRepositorioSPEDPisCofinsBlocoFConsolidado cons;
  ControleOpcaoEFD().Configurar(2, 1, kInicioMarco);
  for (const RF* f : {static_cast<const RF*>(&det), static_cast<const RF*>(&cons)}) {
    EXPECT_EQ(f->GetSqlF500(empresa1).find("'57'"), std::string::npos);
    EXPECT_EQ(f->GetSqlF550(empresa1).find("'57'"), std::string::npos);
  }
  EXPECT_EQ(ControleOpcaoEFD().GetCodigoEmpresa(), 2);
  ControleOpcaoEFD().Configurar(1, 1, kInicioMarco);
  EXPECT_NE(det.GetSqlF500(empresa2).find("'57'"), std::string::npos);
  EXPECT_NE(RF::GetSqlF509(empresa2).find("'57'"), std::string::npos);
  EXPECT_EQ(RF::GetSqlF509(empresa1).find("'57'"), std::string::npos);
  EXPECT_EQ(ControleOpcaoEFD().GetCodigoEmpresa(), 1);

  EXPECT_NE(RF::GetSqlF150(empresa1).find("EFDCREDPRESESTOQABERT"), std::string::npos);
  banco.Executar("UPDATE OPCAOEFDCOMPL SET OPTANTEEFD = 0 WHERE CODIGOEMPRESA = 1");
  ControleOpcaoEFD().LimparCache();
  EXPECT_NE(RF::GetSqlF150(empresa1).find("LUCROREALCREDPRESESTOQABERT"), std::string::npos);

  for (int mov : {0, 1, 2})
    for (bool scp : {false, true}) {
      const TnParansBlocoF p{1, "1", kInicioMarco, kFimMarco, false, static_cast<int16_t>(mov), scp};
      EXPECT_EQ(RF::GetSqlF100(p).find("SOCIEDADECONTAPARTICIPACAO") != std::string::npos, scp && mov == 1)
          << "movimento " << mov << (scp ? " SCP" : "");
    }
}

// Com o IPI apurado, o C100 de entrada soma o documento inteiro no HAVING, não só as linhas do
// grupo; as saídas não mudam.
TEST_F(BlocosValores, C100DeEntradaPelaApuracaoDoIPI) {
  using RC = TnArqRepositorioSPEDPisCofinsBlocoC;
  const TnParansBlocoC ent{1, "1", kInicioMarco, kFimMarco, false, 0, 0, false}, sai{1, "1", kInicioMarco, kFimMarco, false, 1, 0, false};
  const std::string entrada = RC::GetSqlC100(ent), saida = RC::GetSqlC100(sai);
  Banco().Executar("INSERT INTO OPCAOIPI (CODIGOEMPRESA, CODIGOESTAB, DATAINICIAL, APURAIPI) VALUES (1, 1, :D, 1)",
                         {VarDate(EncodeDate(2020, 1, 1))});
  ControleIPI().LimparCache();
  EXPECT_EQ(entrada.find("LPC2"), std::string::npos);
  EXPECT_NE(RC::GetSqlC100(ent).find("LPC2"), std::string::npos);
  EXPECT_EQ(RC::GetSqlC100(sai), saida);
}

}  // namespace
