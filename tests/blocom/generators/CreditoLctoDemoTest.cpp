// Créditos dos lançamentos sobre a demonstração (empresa 1, não cumulativa, optante da EFD):
// cada M100/M500 e seus M105/M505 iguais, ao centavo, ao que a conferência calcula direto das
// tabelas — base por natureza e CST, código do crédito pelas regras escritas em SQL, parcelas
// dos CSTs comuns pela proporção do período e crédito pela alíquota — nos dois bancos; e o
// livro de créditos com o disponível de cada registro.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "base/Decimal.h"
#include "base/Nutil.h"
#include "blocom/control/nFisEFDControleBlocoM_U.h"
#include "blocom/generators/nFisEFDGeradorBlocoM100M500LctoEFD_U.h"
#include "db/Demo.h"
#include "fixtures/Bancos.h"
#include "host/FisFuncoes.h"
#include "host/OpcaoEFD.h"
#include "host/PatServicosDACON.h"
#include "host/ProporcaoCreditos.h"

namespace {

double R2(double v) { return Nutil::RoundValor(v, 2); }

// Valores de um grupo de linhas de uma fonte de crédito.
struct TGrupo {
  int Tipo = 0, CST = 0;
  std::string Natureza, Classe;  // classe: os dois últimos dígitos do código do crédito
  double Aliq = 0, Base = 0, Qtd = 0;
  bool Unidade = false;
};

struct TDet {
  double Tot = 0, Cum = 0, Bc = 0, Qtd = 0;
};
struct TCred {
  bool Unidade = false;
  double Aliq = 0, Fixo = 0;  // Fixo: crédito já pronto (atividade imobiliária)
  std::map<std::string, TDet> Dets;
};

class CreditoLctoDemo : public TBancoTeste {
 protected:
  void SetUp() override {
    TBancoTeste::SetUp();
    if (HasFatalFailure() || IsSkipped()) return;
    GerarBancoDemo(Banco(), TConfigDemo{});
  }

  TParams P() const { return {TVariant(int64_t{1}), VarDate(EncodeDate(2024, 1, 1)), VarDate(EncodeDate(2024, 1, 31))}; }
  static int Tipo(int v) { return v == 62 || v == 63 ? v : 0; }

  // Classe da alíquota pelas regras do código de crédito, em SQL (CFOP "0" nos demais documentos).
  static std::string Classe(const std::string& cfop, const std::string& nat, const std::string& cst,
                            const std::string& aliq, const std::string& dacon) {
    const std::string d1 = "SUBSTR(CAST(" + cfop + " AS VARCHAR(10)), 1, 1)";
    return "CASE WHEN " + dacon + " = 10 THEN '03' WHEN " + nat + " = '4.3.07.13' AND " + aliq +
           " NOT IN (1.65, 7.6) THEN CASE WHEN " + d1 + " = '3' THEN '08' ELSE '07' END WHEN " + nat +
           " = '4.3.07.14' AND " + aliq + " IN (1.2375, 5.7) THEN '07' WHEN " + cst +
           " BETWEEN 60 AND 66 THEN '06' WHEN " + nat + " = '4.3.07.18' THEN '04' WHEN " + d1 +
           " = '3' THEN '08' WHEN " + aliq + " NOT IN (0.65, 1.65, 3, 7.6) THEN '02' WHEN " + d1 +
           " IN ('1', '2') THEN '01' WHEN " + nat + " IN ('4.3.07.15', '4.3.07.16') THEN '09' ELSE '01' END";
  }

  std::vector<TGrupo> Grupos(int imposto) {
    const bool pis = imposto == 15;
    const std::string s = pis ? "PIS" : "COFINS", cst = "CDSITUATRIBUT" + s;
    std::vector<TGrupo> r;
    auto ler = [&](const std::string& sql) {
      auto ds = Banco().Abrir(sql, P());
      for (; !ds->Eof(); ds->Next()) {
        TGrupo g;
        g.Tipo = Tipo(static_cast<int>(ds->Fields(0).AsInteger()));
        g.CST = static_cast<int>(ds->Fields(1).AsInteger());
        g.Natureza = ds->Fields(2).AsString();
        g.Aliq = ds->Fields(3).AsFloat();
        g.Classe = ds->Fields(4).AsString();
        g.Base = ds->Fields(5).IsNull() ? 0 : ds->Fields(5).AsFloat();
        g.Qtd = ds->Fields(6).IsNull() ? 0 : ds->Fields(6).AsFloat();
        g.Unidade = g.Qtd > 0;
        r.push_back(g);
      }
    };
    // Lançamentos de entrada, agrupados como os totais por CST os agrupam.
    ler("SELECT P.DACONTIPORECEITA, E." + cst + ", E.TIPOCREDITO" + (pis ? "PIS" : "") + ", E.ALIQ" + s + ", " +
        Classe("E.CODIGOCFOP", "E.TIPOCREDITO" + std::string(pis ? "PIS" : ""), "E." + cst, "E.ALIQ" + s,
               "P.DACONTIPORECEITA") +
        ", SUM(E.BASECALCULOPISCOFINS), SUM(E.QUANTIDADE) FROM LCTOFISENTPISCOFINS E JOIN PRODUTO P"
        " ON P.CODIGOEMPRESA = E.CODIGOEMPRESA AND P.CODIGOPRODUTO = E.CODIGOPRODUTO"
        " WHERE E.CODIGOEMPRESA = :E AND E.DATALCTOFIS BETWEEN :I AND :F AND E." + cst +
        " NOT IN (70, 71, 72, 73, 74, 75) AND E.ALIQ" + s +
        " > 0 GROUP BY E.CODIGOESTAB, E." + cst + ", E.CODIGOCFOP, E.TIPOCREDITO" + (pis ? "PIS" : "") + ", E.ALIQ" +
        s + ", P.DACONTIPORECEITA, CASE WHEN E.QUANTIDADE > 0 THEN 1 ELSE 0 END");
    // Demais documentos de entrada; importação (origem 1) é sempre da classe 08.
    const std::string dc = pis ? "D.CST" : "D.CSTCOFINS", dn = pis ? "D.TIPOCREDITO" : "D.TIPOCREDITOCOFINS";
    ler("SELECT 0, " + dc + ", " + dn + ", D.ALIQ" + s + ", CASE WHEN D.ORIGEMCREDITO = 1 THEN '08' ELSE " +
        Classe("0", dn, dc, "D.ALIQ" + s, "0") + " END, SUM(D.BASECALCULO), 0 FROM EFDF100DEMAISDOC D"
        " WHERE D.CODIGOEMPRESA = :E AND D.DATALCTOFIS BETWEEN :I AND :F AND D.INDOPER = 0 AND (" + dc +
        " BETWEEN 50 AND 56 OR " + dc + " BETWEEN 60 AND 67) GROUP BY D.CODIGOESTAB, " + dc + ", " + dn +
        ", D.ALIQ" + s + ", D.ORIGEMCREDITO, D.COMPENSARETENCAO, D.CONTACTB");
    // Estoque de abertura: a base do mês.
    ler("SELECT EA.TIPOAPURACAO, EA.CST" + s + ", '4.3.07.18', EA.ALIQ" + s +
        ", '04', SUM(EA.VLRBCMENEST), 0 FROM EFDCREDPRESESTOQABERT EA WHERE EA.CODIGOEMPRESA = :E"
        " AND EA.DATALCTOFIS BETWEEN :I AND :F GROUP BY EA.CODIGOESTAB, EA.ALIQ" + s + ", EA.CST" + s +
        ", EA.TIPOAPURACAO");
    // Bens do ativo, pelo serviço de patrimônio do host.
    for (const auto& b : TnPatServicosDACON::CreditosDaconPeriodo(1, "", EncodeDate(2024, 1, 1), EncodeDate(2024, 1, 31))) {
      const int c = pis ? b.CSTPIS : b.CSTCOFINS;
      if ((b.CSTPIS >= 70 && b.CSTPIS <= 75) || b.CSTPIS >= 98 || (b.CSTCOFINS >= 70 && b.CSTCOFINS <= 75) ||
          b.CSTCOFINS >= 98)
        continue;
      const std::string nat = b.TipoDaconCredito == 6 ? "4.3.07.09" : b.TipoDaconCredito == 7 ? "4.3.07.11" : "4.3.07.10";
      r.push_back({Tipo(b.TipoApuracao), c, nat, b.OrigemBem == 1 ? "08" : "01", pis ? b.AliquotaPis : b.AliquotaCofins,
                   b.QuotaMensal, 0, false});
    }
    return r;
  }

  // Créditos esperados por tipo de apuração e chave.
  std::map<std::pair<int, std::string>, TCred> Esperado(int imposto, TnFisProporcaoCreditos& prop) {
    std::map<std::pair<int, std::string>, TCred> r;
    const auto perc = [&](int cst, int campo) { return prop.GetValorCreditoCst(cst, campo) / 100; };
    for (const auto& g : Grupos(imposto)) {
      // Parcelas: dígito do regime e campo da proporção de cada uma.
      std::vector<std::pair<char, int>> partes;
      switch (g.CST) {
        case 53: case 63: partes = {{'1', 1}, {'2', 5}}; break;
        case 54: case 64: partes = {{'1', 1}, {'3', 7}}; break;
        case 55: case 65: partes = {{'2', 5}, {'3', 7}}; break;
        case 56: case 66: partes = {{'1', 1}, {'2', 5}, {'3', 7}}; break;
        case 51: case 61: partes = {{'2', 5}}; break;
        case 52: case 62: partes = {{'3', 7}}; break;
        default: partes = {{'1', 1}};
      }
      const bool comum = partes.size() > 1;
      for (auto [digito, campo] : partes) {
        const std::string codigo = std::string(1, digito) + (g.Unidade ? "03" : g.Classe);
        const std::string chave = codigo + "|" + Decimal::TextoChave(g.Unidade ? 0 : g.Aliq) + "|" +
                                  Decimal::TextoChave(g.Unidade ? g.Aliq : 0) + "|0";
        auto& c = r[{g.Tipo, chave}];
        c.Unidade = g.Unidade;
        c.Aliq = g.Aliq;
        auto& d = c.Dets[TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(g.Natureza) + "|" + std::to_string(g.CST)];
        const double tot = g.Unidade ? 0 : g.Base;
        d.Tot += tot;
        d.Cum += R2(tot * perc(g.CST, 3));
        d.Bc += R2(tot * perc(g.CST, campo));
        d.Qtd += comum ? R2(g.Qtd * perc(g.CST, campo)) : g.Qtd;
      }
    }
    // Atividade imobiliária: créditos prontos do bloco F, num só registro do tipo 109.
    const std::string s = imposto == 15 ? "PIS" : "COFINS";
    for (const std::string& sql : {"SELECT SUM(VLCRED" + s + "DESC) FROM EFDUNIDIMOBCUSTOINC",
                                  "SELECT SUM(VLCRED" + s + "UTIL) FROM EFDUNIDIMOBCUSTOORC"}) {
      auto ds = Banco().Abrir(sql + " WHERE CODIGOEMPRESA = :E AND COMPRECEB BETWEEN :I AND :F", P());
      if (!ds->Eof() && !ds->Fields(0).IsNull()) r[{0, "109|0|0|0"}].Fixo += ds->Fields(0).AsFloat();
    }
    return r;
  }
};

}  // namespace

PISCO_INSTANCIAR_BANCOS(CreditoLctoDemo);

TEST_P(CreditoLctoDemo, CreditosDaEmpresaEFDIguaisAConferenciaEAoLivro) {
  TMapaAberturaBloco mapa;
  TnFisEFDControleBlocoM controle;
  auto& c = controle.FConfigBlocoM;
  c.CodigoEmpresa = 1;
  c.DataInicial = EncodeDate(2024, 1, 1);
  c.DataFinal = EncodeDate(2024, 1, 31);
  c.ModoGeracao = TModoGeracao::mgEmpresa;
  controle.FLstRegistroM001 = &mapa;
  controle.FDeveProcessarCreditos = true;
  controle.FFormaCarregarProporcao = TFormaCarregarProporcao::fpExecutarProporcao;
  ControleOpcaoEFD().Configurar(1, 1, c.DataInicial);
  controle.CarregarProporcaoCredito();
  for (int16_t imposto : {15, 16}) TnFisEFDGeradorBlocoM::Criar<TnFisEFDGeradorM100_M500LctoEFD>(controle, imposto)->ProcessarRegistro();

  std::set<int> cstsComuns;
  int registros = 0, unidade = 0;
  for (int imposto : {15, 16}) {
    SCOPED_TRACE("imposto " + std::to_string(imposto));
    auto esperado = Esperado(imposto, *controle.GetProporcaoCredito());
    std::map<std::pair<int, std::string>, const TM100_500CreditoImposto*> obtido;
    for (const auto& [tipo, m001] : mapa)
      for (const auto& [k, reg] : imposto == 15 ? m001->FM100List : m001->FM500List)
        obtido[{static_cast<int>(tipo), k}] = reg.get();
    ASSERT_EQ(obtido.size(), esperado.size());
    for (const auto& [chave, e] : esperado) {
      SCOPED_TRACE(std::to_string(chave.first) + " " + chave.second);
      ASSERT_EQ(obtido.count(chave), 1u);
      const auto& reg = *obtido[chave];
      ++registros;
      double credito = e.Fixo, base = 0, qtd = 0;
      EXPECT_EQ(reg.FM105_505List.Count(), static_cast<int>(e.Dets.size()));
      for (const auto& [dk, d] : e.Dets) {
        SCOPED_TRACE(dk);
        const auto* det = reg.FM105_505List.TryGetValue(dk);
        ASSERT_NE(det, nullptr);
        EXPECT_EQ(R2(det->FVL_BC_TOT), R2(d.Tot));
        const bool naoCum = det->FCST == 50 || det->FCST == 51 || det->FCST == 60 || det->FCST == 61 || det->FCST == 62;
        EXPECT_EQ(R2(det->GetVL_BC()), R2(naoCum ? d.Tot - d.Cum : d.Bc));
        EXPECT_EQ(R2(det->FQUANT_BC), R2(d.Qtd));
        base += naoCum ? d.Tot - d.Cum : d.Bc;
        qtd += d.Qtd;
        if ((det->FCST >= 53 && det->FCST <= 56) || (det->FCST >= 63 && det->FCST <= 66)) cstsComuns.insert(det->FCST);
      }
      if (e.Unidade) ++unidade;
      if (chave.second != "109|0|0|0") credito = e.Unidade ? qtd * e.Aliq : base * e.Aliq / 100;
      EXPECT_EQ(R2(reg.GetVL_CRED()), R2(credito));
    }
  }
  // A demonstração leva o crédito a todos os CSTs comuns e ao crédito por unidade.
  EXPECT_EQ(cstsComuns, (std::set<int>{53, 54, 55, 56, 63, 64, 65, 66}));
  EXPECT_GT(unidade, 0);

  // Livro de créditos: cada M100/M500 numa só linha, que soma o disponível dos seus registros
  // (a chave do livro é código e alíquota: créditos por unidade do mesmo código se juntam).
  std::map<const TM100_500CreditoImposto*, int> vistos;
  for (const auto& [k, linha] : controle.GetControleCredito()->GetLstCredito()) {
    double disponivel = 0;
    for (const auto* reg : linha->LstRegM100_500) {
      ++vistos[reg];
      disponivel += reg->GetVL_CRED_DISP();
      EXPECT_EQ(linha->CODCRED, "4.3.06." + reg->FCOD_CRED);
    }
    EXPECT_NEAR(linha->VLCREDAPU, disponivel, 1e-6) << k;
  }
  EXPECT_EQ(static_cast<int>(vistos.size()), registros);
  for (const auto& [reg, n] : vistos) EXPECT_EQ(n, 1);
}
